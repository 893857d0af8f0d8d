// Discovery asks as little as it can: one PROPFIND at the URL given says
// whether it is a book, or names the principal or home set; only a URL that
// tells nothing sends us to /.well-known/carddav.

#include "sync/discovery.h"

#include "sync/dav_client.h"
#include "sync/dav_multistatus.h"

namespace tovren::sync {

namespace {

const QString kResourceType = "{DAV:}resourcetype";
const QString kDisplayName = "{DAV:}displayname";
const QString kPrincipal = "{DAV:}current-user-principal";
const QString kHomeSet = '{' + dav::carddav + "}addressbook-home-set";
const QString kAddressData = '{' + dav::carddav + "}supported-address-data";
const QString kReports = "{DAV:}supported-report-set";
const QString kSyncToken = "{DAV:}sync-token";
const QStringList kBookProperties{kResourceType, kDisplayName, kAddressData, kReports};

// The answer to a PROPFIND: the resources, or the failure; `at` is where
// the answer came from after redirects, which the hrefs are paths on.
struct Found {
    std::vector<DavResource> resources;
    Failure failure;
    QUrl at;
};

Found propfind(DavClient& client, const QUrl& url, const QStringList& properties,
               const QByteArray& depth)
{
    MultistatusReply reply =
        client.requestMultistatus("PROPFIND", url, propfindBody(properties), depth);
    if (!reply.multistatus)
        return {{}, {reply.response.status, reply.response.message}, reply.response.url};
    return {std::move(reply.multistatus->resources), {}, reply.response.url};
}

const DavProperty* property(const DavResource& resource, const QString& name)
{
    const auto found = resource.properties.find(name);
    return found == resource.properties.end() ? nullptr : &found->second;
}

std::optional<FoundBook> bookOf(const DavResource& resource, const QUrl& server)
{
    const DavProperty* type = property(resource, kResourceType);
    if (!type || !type->elements.contains('{' + dav::carddav + "}addressbook"))
        return std::nullopt;
    FoundBook book;
    book.url =
        server.resolved(QUrl(resource.href.endsWith('/') ? resource.href : resource.href + '/'));
    const auto text = [&resource](const QString& name) {
        const DavProperty* found = property(resource, name);
        return found ? found->text.trimmed() : QString();
    };
    book.displayName = text(kDisplayName);
    book.syncToken = text(kSyncToken);
    if (const DavProperty* reports = property(resource, kReports))
        book.syncCollection = reports->elements.contains("{DAV:}sync-collection");
    if (const DavProperty* data = property(resource, kAddressData))
        book.vcard4 = data->attributes.contains("version=4.0");
    return book;
}

// What one URL tells: it is a book, or it names the home sets (itself or
// through its principal), or why neither.
struct Lead {
    std::optional<FoundBook> book;
    std::vector<QUrl> homes;
    Failure failure;
};

std::vector<QUrl> homesOf(const std::vector<DavResource>& resources, const QUrl& base)
{
    std::vector<QUrl> homes;
    for (const DavResource& resource : resources) {
        if (const DavProperty* set = property(resource, kHomeSet)) {
            for (const QString& href : set->hrefs)
                homes.push_back(base.resolved(QUrl(href)));
        }
    }
    return homes;
}

Lead follow(DavClient& client, const QUrl& url)
{
    const Found here =
        propfind(client, url, kBookProperties + QStringList{kPrincipal, kHomeSet}, "0");
    if (here.resources.empty())
        return {std::nullopt, {}, here.failure};
    const DavResource& resource = here.resources.front();
    if (std::optional<FoundBook> book = bookOf(resource, here.at))
        return {book, {}, {}};
    if (std::vector<QUrl> homes = homesOf(here.resources, here.at); !homes.empty())
        return {std::nullopt, homes, {}};
    const DavProperty* principal = property(resource, kPrincipal);
    if (!principal || principal->hrefs.isEmpty())
        return {
            std::nullopt, {}, {404, "No address book was found at " + url.toDisplayString() + '.'}};
    const Found atPrincipal =
        propfind(client, here.at.resolved(QUrl(principal->hrefs.first())), {kHomeSet}, "0");
    return {std::nullopt, homesOf(atPrincipal.resources, atPrincipal.at), atPrincipal.failure};
}

std::vector<FoundBook> booksIn(DavClient& client, const std::vector<QUrl>& homes, Failure& failure)
{
    std::vector<FoundBook> books;
    for (const QUrl& home : homes) {
        const Found inside = propfind(client, home, kBookProperties, "1");
        for (const DavResource& resource : inside.resources) {
            if (std::optional<FoundBook> book = bookOf(resource, inside.at))
                books.push_back(*book);
        }
        if (inside.resources.empty())
            failure = inside.failure;
    }
    return books;
}

} // namespace

Discovered findBook(DavClient& client, const QUrl& start, const ChooseBook& choose,
                    const QUrl& known)
{
    if (!known.isEmpty()) {
        // With its sync token, so that a sync where nothing changed needs no
        // other request. (Not the ctag, which only servers without the token
        // need: radicale works as long for each as for the token.)
        const Found kept = propfind(client, known, kBookProperties + QStringList{kSyncToken}, "0");
        if (!kept.resources.empty()) {
            if (std::optional<FoundBook> book = bookOf(kept.resources.front(), kept.at))
                return {book, {}};
        }
        // A refused sign-in, or no answer, would fail discovery just the same.
        const Failure& failure = kept.failure;
        if (failure.status == 401 || (failure.status == 0 && !failure.message.isEmpty()))
            return {std::nullopt, failure};
    }
    QUrl url = start;
    if (url.path().isEmpty())
        url.setPath("/");
    Lead lead = follow(client, url);
    if (!lead.book && lead.homes.empty() && lead.failure.status != 401) {
        // Where that leads nowhere either, the first URL's failure says more.
        Lead known = follow(client, url.resolved(QUrl("/.well-known/carddav")));
        if (known.book || !known.homes.empty() || known.failure.status == 401)
            lead = known;
    }
    if (lead.book)
        return {lead.book, {}};

    Failure failure = lead.failure;
    const std::vector<FoundBook> books = booksIn(client, lead.homes, failure);
    if (books.empty())
        return {std::nullopt, failure.message.isEmpty()
                                  ? Failure{404, "The server keeps no address book for this "
                                                 "account at "
                                                     + start.toDisplayString() + '.'}
                                  : failure};
    if (books.size() == 1)
        return {books.front(), {}};
    std::vector<BookChoice> choices;
    for (const FoundBook& book : books)
        choices.push_back({book.url, book.displayName});
    const std::optional<int> chosen = choose ? choose(choices) : std::nullopt;
    if (!chosen || *chosen < 0 || *chosen >= int(books.size()))
        return {std::nullopt, {0, "No address book was chosen."}};
    return {books[size_t(*chosen)], {}};
}

} // namespace tovren::sync
