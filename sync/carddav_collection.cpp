// The calls of the sync engine, each turned into WebDAV requests. The
// engine compares hrefs, so every href handed out is in one canonical form
// (hrefForPath), however the server wrote it.

#include "sync/carddav_collection.h"

#include "sync/dav_client.h"
#include "sync/dav_multistatus.h"
#include "sync/discovery.h"

namespace tovren::sync {

namespace {

const QString kEtag = "{DAV:}getetag";
const QString kCtag = '{' + dav::calendarServer + "}getctag";
const QString kAddressData = '{' + dav::carddav + "}address-data";
const QString kResourceType = "{DAV:}resourcetype";
constexpr int kCardsPerMultiget = 100;

// XML turns the CR LF line ends of a vCard into LF; the card gets them back.
QByteArray vcardText(const QString& text)
{
    QByteArray card = text.toUtf8();
    card.replace("\r\n", "\n").replace('\n', "\r\n");
    return card;
}

bool isCollection(const DavResource& resource)
{
    const auto type = resource.properties.find(kResourceType);
    return type != resource.properties.end() && type->second.elements.contains("{DAV:}collection");
}

QString etagOf(const DavResource& resource)
{
    const auto etag = resource.properties.find(kEtag);
    return etag == resource.properties.end() ? QString() : etag->second.text.trimmed();
}

PutResult putResult(const DavResponse& response, const QUrl& url)
{
    PutResult result;
    result.href = hrefForPath(url);
    result.etag = QString::fromUtf8(response.etag);
    result.outcome = response.ok()            ? Put::Stored
                     : response.status == 412 ? Put::Changed
                                              : Put::Rejected;
    if (!response.ok())
        result.failure = {response.status, response.message};
    return result;
}

} // namespace

CardDavCollection::CardDavCollection() = default;
CardDavCollection::~CardDavCollection() = default;

OpenedCollection CardDavCollection::open(const SyncAccount& account, const QString& password,
                                         const ChooseBook& choose)
{
    auto client = std::make_unique<DavClient>(account.user, password);
    client->setScheme(account.auth);
    const Discovered found = findBook(*client, account.url, choose, account.book);
    if (!found.book)
        return {nullptr, found.failure};
    std::unique_ptr<CardDavCollection> collection(new CardDavCollection);
    collection->m_client = std::move(client);
    collection->m_url = found.book->url;
    collection->m_syncCollection = found.book->syncCollection;
    collection->m_vcard4 = found.book->vcard4;
    collection->m_foundToken = found.book->syncToken;
    return {std::move(collection), {}};
}

QUrl CardDavCollection::url() const
{
    return m_url;
}

SyncAccount CardDavCollection::learnt(SyncAccount account) const
{
    account.book = m_url;
    account.auth = m_client->scheme();
    return account;
}

bool CardDavCollection::offersSyncCollection() const
{
    return m_syncCollection;
}

bool CardDavCollection::takesVCard4() const
{
    return m_vcard4;
}

void CardDavCollection::setTimeout(int milliseconds)
{
    m_client->setTimeout(milliseconds);
}

void CardDavCollection::remember(const DavResponse& response)
{
    m_lastFailure = response.ok() ? Failure{} : Failure{response.status, response.message};
    m_foundToken.clear();
}

MultistatusReply CardDavCollection::report(const QByteArray& method, const QByteArray& body,
                                           const QByteArray& depth)
{
    MultistatusReply reply = m_client->requestMultistatus(method, m_url, body, depth);
    remember(reply.response);
    if (!reply.multistatus)
        m_lastFailure = {reply.response.status, reply.response.message};
    return reply;
}

std::optional<QString> CardDavCollection::ctag()
{
    const std::optional<Multistatus> found =
        report("PROPFIND", propfindBody({kCtag}), "0").multistatus;
    if (!found)
        return std::nullopt;
    for (const DavResource& resource : found->resources) {
        if (const auto ctag = resource.properties.find(kCtag); ctag != resource.properties.end())
            return ctag->second.text.trimmed();
    }
    return std::nullopt;
}

std::optional<std::vector<CardRef>> CardDavCollection::listEtags()
{
    const std::optional<Multistatus> found =
        report("PROPFIND", propfindBody({kResourceType, kEtag}), "1").multistatus;
    if (!found)
        return std::nullopt;
    std::vector<CardRef> cards;
    const QString book = hrefForPath(m_url);
    for (const DavResource& resource : found->resources) {
        if (!isCollection(resource) && resource.href != book)
            cards.push_back({resource.href, etagOf(resource)});
    }
    return cards;
}

// 403, 409 and 410 are how servers say they no longer know a token. Some
// (xandikos) fail with a 5xx instead; if the book still answers otherwise,
// it was the token, and a full listing is the way on rather than a sync
// stuck for ever.
bool CardDavCollection::refusesToken(const DavResponse& answer)
{
    if (answer.status == 403 || answer.status == 409 || answer.status == 410
        || namesPrecondition(answer.body, "{DAV:}valid-sync-token"))
        return true;
    if (answer.status < 500)
        return false;
    return m_client->requestMultistatus("PROPFIND", m_url, propfindBody({kResourceType}), "0")
        .multistatus.has_value();
}

std::optional<Changes> CardDavCollection::changesSince(const QString& token, bool* invalidToken)
{
    if (invalidToken)
        *invalidToken = false;
    Changes changes{token, {}, {}};
    if (!token.isEmpty() && token == m_foundToken) {
        m_lastFailure = {};
        m_foundToken.clear();
        return changes;
    }
    // A server may answer in parts: a 507 for the book itself says more follow
    // from the token it gave.
    for (bool more = true; more;) {
        more = false;
        const MultistatusReply reply =
            report("REPORT", syncCollectionBody(changes.token, {kResourceType, kEtag}), "0");
        const std::optional<Multistatus>& found = reply.multistatus;
        if (!found) {
            if (invalidToken)
                *invalidToken = !changes.token.isEmpty() && refusesToken(reply.response);
            return std::nullopt;
        }
        const QString book = hrefForPath(m_url);
        for (const DavResource& resource : found->resources) {
            if (resource.href == book)
                more = resource.status == 507 && found->syncToken != changes.token;
            else if (resource.status == 404)
                changes.removed.push_back(resource.href);
            else if (!isCollection(resource))
                changes.changed.push_back({resource.href, etagOf(resource)});
        }
        changes.token = found->syncToken;
    }
    return changes;
}

std::optional<std::vector<Card>> CardDavCollection::multiget(const std::vector<QString>& hrefs)
{
    m_lastFailure = {};
    std::vector<Card> cards;
    for (size_t first = 0; first < hrefs.size(); first += kCardsPerMultiget) {
        const size_t last = std::min(hrefs.size(), first + kCardsPerMultiget);
        const QStringList batch(hrefs.begin() + qsizetype(first), hrefs.begin() + qsizetype(last));
        const std::optional<Multistatus> found =
            report("REPORT", multigetBody(batch, {kEtag, kAddressData}), "1").multistatus;
        if (!found)
            return std::nullopt;
        for (const DavResource& resource : found->resources) {
            const auto data = resource.properties.find(kAddressData);
            if (data != resource.properties.end())
                cards.push_back({resource.href, etagOf(resource), vcardText(data->second.text)});
        }
    }
    return cards;
}

PutResult CardDavCollection::putNew(const QString& name, const QByteArray& vcard)
{
    return put(m_url.resolved(QUrl(QString::fromLatin1(QUrl::toPercentEncoding(name)))), vcard,
               {"If-None-Match", "*"});
}

PutResult CardDavCollection::putChanged(const QString& href, const QByteArray& vcard,
                                        const QString& etag)
{
    return put(m_url.resolved(QUrl(href)), vcard, {"If-Match", etag.toUtf8()});
}

// A 412 may answer our own PUT: when the reply to it was lost, Qt sends the
// request again on a new connection, and the server, which stored the first,
// refuses the second. A card on the server that is exactly ours was stored,
// not changed by someone else, so no conflict is made of it.
PutResult CardDavCollection::put(const QUrl& url, const QByteArray& vcard,
                                 const QPair<QByteArray, QByteArray>& condition)
{
    DavResponse response = m_client->send(
        "PUT", url, vcard, {{"Content-Type", "text/vcard; charset=utf-8"}, condition});
    if (response.status == 412) {
        const DavResponse stored = m_client->send("GET", url);
        if (stored.ok() && stored.body == vcard)
            response = stored;
    }
    remember(response);
    return putResult(response, url);
}

std::optional<Failure> CardDavCollection::remove(const QString& href, const QString& etag)
{
    const DavResponse response =
        m_client->send("DELETE", m_url.resolved(QUrl(href)), {}, {{"If-Match", etag.toUtf8()}});
    remember(response);
    if (response.ok() || response.status == 404)
        return std::nullopt;
    return m_lastFailure;
}

Failure CardDavCollection::lastFailure() const
{
    return m_lastFailure;
}

} // namespace tovren::sync
