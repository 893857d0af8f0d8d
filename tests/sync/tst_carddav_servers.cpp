// The wire against real servers: radicale (signing in with Basic, or behind
// an Apache asking for Digest) and xandikos (none), each case run against
// all three. A phone (vdirsyncer) changes the book between
// our calls where a case needs another client.

#include "sync/carddav_collection.h"

#include "platform/tls_trust.h"
#include "support/dav_server.h"
#include "support/lossy_link.h"
#include "support/test_ca.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tovren::sync {
namespace {

using testing_support::DavServer;
using testing_support::LossyLink;
using testing_support::PhoneClient;
using testing_support::TestCa;

QByteArray card(const QString& uid, const QString& name)
{
    return QString("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:%1\r\nFN:%2\r\nN:%2;;;;\r\nEND:VCARD\r\n")
        .arg(uid, name)
        .toUtf8();
}

template <typename Items>
std::vector<QString> hrefsOf(const Items& items)
{
    std::vector<QString> hrefs;
    for (const auto& item : items)
        hrefs.push_back(item.href);
    return hrefs;
}

class CardDavServers : public ::testing::TestWithParam<DavServer::Kind> {
protected:
    void SetUp() override
    {
        if (const QString missing = DavServer::missing(GetParam()); !missing.isEmpty())
            GTEST_SKIP() << missing.toStdString();
        ASSERT_TRUE(m_server.error().isEmpty()) << m_server.error().toStdString();
    }

    SyncAccount account(const QUrl& url) const { return {url, m_server.userName(), {}}; }

    // The book at `url` (or the account's), signed in with `password`; fails
    // the test when none.
    std::unique_ptr<CardDavCollection> open(const SyncAccount& signIn,
                                            const QString& password = DavServer::password,
                                            const ChooseBook& choose = nullptr)
    {
        OpenedCollection opened = CardDavCollection::open(signIn, password, choose);
        EXPECT_TRUE(opened.collection) << opened.failure.message.toStdString();
        return std::move(opened.collection);
    }
    std::unique_ptr<CardDavCollection> open(const QUrl& url,
                                            const QString& password = DavServer::password,
                                            const ChooseBook& choose = nullptr)
    {
        return open(account(url), password, choose);
    }

    DavServer m_server{GetParam()};
};

TEST_P(CardDavServers, FindsTheBookFromAnyUrlOfTheServer)
{
    QUrl host = m_server.root();
    host.setPath("");
    const QUrl urls[] = {host, m_server.root(),
                         m_server.root().resolved(QUrl("/.well-known/carddav")),
                         m_server.principal(), m_server.book()};
    for (const QUrl& url : urls) {
        SCOPED_TRACE(url.toString().toStdString());
        const std::unique_ptr<CardDavCollection> book = open(url);
        ASSERT_TRUE(book);
        EXPECT_EQ(book->url(), m_server.book());
        EXPECT_TRUE(book->offersSyncCollection());
        EXPECT_FALSE(book->takesVCard4()); // both advertise vCard 3.0 only
    }
}

TEST_P(CardDavServers, SeveralBooksArePickedFrom)
{
    ASSERT_TRUE(m_server.addBook("work", "Work & Co")) << m_server.error().toStdString();
    std::vector<BookChoice> offered;
    const auto pick = [&](const QString& wanted) {
        return [&offered, wanted](const std::vector<BookChoice>& books) -> std::optional<int> {
            offered = books;
            for (size_t i = 0; i < books.size(); ++i) {
                if (books[i].displayName == wanted)
                    return int(i);
            }
            return std::nullopt;
        };
    };
    const std::unique_ptr<CardDavCollection> work =
        open(m_server.root(), DavServer::password, pick("Work & Co"));
    ASSERT_TRUE(work);
    EXPECT_EQ(work->url(), m_server.book("work"));
    EXPECT_EQ(offered.size(), 2u);

    const OpenedCollection declined =
        CardDavCollection::open(account(m_server.root()), DavServer::password, pick("none"));
    EXPECT_FALSE(declined.collection);
    EXPECT_EQ(declined.failure.message, "No address book was chosen.");
    // The book's own URL asks nobody.
    offered.clear();
    EXPECT_TRUE(open(m_server.book(), DavServer::password, pick("none")));
    EXPECT_TRUE(offered.empty());
}

// Also where the book and the sign-in are known, and Basic goes with the
// first request: the server counts one refusal, not two.
TEST_P(CardDavServers, AWrongPasswordIsToldAndTriedOnce)
{
    if (m_server.userName().isEmpty())
        GTEST_SKIP() << "xandikos asks for no sign-in";
    const std::unique_ptr<CardDavCollection> right = open(m_server.root());
    ASSERT_TRUE(right);
    const SyncAccount learnt = right->learnt(account(m_server.root()));
    EXPECT_EQ(learnt.auth, GetParam() == DavServer::Kind::Radicale ? "Basic" : "Digest");
    for (const SyncAccount& signIn : {account(m_server.root()), learnt}) {
        SCOPED_TRACE(signIn.book.toString().toStdString());
        const int refusedBefore = m_server.refusedSignIns();
        const OpenedCollection refused = CardDavCollection::open(signIn, "wrong", nullptr);
        EXPECT_FALSE(refused.collection);
        EXPECT_EQ(refused.failure.status, 401);
        EXPECT_EQ(refused.failure.message, "The server refused the user name or password.");
        EXPECT_EQ(m_server.refusedSignIns() - refusedBefore, 1);
    }
}

// A sync where nothing changed: the book found before is asked once, its
// sync token answering for the changes; Digest costs the one refused round
// trip that tells the server's nonce. Anything else goes to the server.
TEST_P(CardDavServers, TheBookFoundBeforeIsAskedOnceWhenNothingChanged)
{
    LossyLink link(quint16(m_server.root().port()));
    const SyncAccount first = account(link.url(m_server.book()));
    const std::unique_ptr<CardDavCollection> found = open(first);
    ASSERT_TRUE(found);
    const QString token = found->changesSince("", nullptr).value().token;
    const SyncAccount learnt = found->learnt(first);
    EXPECT_EQ(learnt.book, first.url);

    const int before = link.requests();
    const std::unique_ptr<CardDavCollection> again = open(learnt);
    ASSERT_TRUE(again);
    const std::optional<Changes> none = again->changesSince(token, nullptr);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->changed.empty() && none->removed.empty());
    EXPECT_EQ(none->token, token);
    EXPECT_EQ(link.requests() - before, GetParam() == DavServer::Kind::RadicaleDigest ? 2 : 1);

    // Once anything went to the server, the token found is no answer.
    ASSERT_EQ(again->putNew("a.vcf", card("a", "A")).outcome, Put::Stored);
    EXPECT_EQ(again->changesSince(token, nullptr).value().changed.size(), 1u);
    const std::unique_ptr<CardDavCollection> changed = open(learnt);
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->changesSince(token, nullptr).value().changed.size(), 1u);
}

// A book found before that is no longer there (deleted, or never a book)
// is found again from the account's URL.
TEST_P(CardDavServers, ABookGoneIsFoundAgain)
{
    for (const char* gone : {"gone", ""}) {
        SyncAccount known = account(m_server.root());
        known.book = *gone ? m_server.book(gone) : m_server.principal();
        SCOPED_TRACE(known.book.toString().toStdString());
        const std::unique_ptr<CardDavCollection> opened = open(known);
        ASSERT_TRUE(opened);
        EXPECT_EQ(opened->url(), m_server.book());
    }
}

TEST_P(CardDavServers, CardsGoUpChangeAndGoAwayOnlyFromTheStateWeKnow)
{
    const std::unique_ptr<CardDavCollection> book = open(m_server.book());
    ASSERT_TRUE(book);
    const PutResult stored = book->putNew("a-1.vcf", card("a-1", "Ann"));
    ASSERT_EQ(stored.outcome, Put::Stored) << stored.failure.message.toStdString();
    EXPECT_FALSE(stored.etag.isEmpty());
    EXPECT_EQ(stored.href, m_server.book().path() + "a-1.vcf");
    // The same card sent again (its reply was lost) is there; another is not ours.
    EXPECT_EQ(book->putNew("a-1.vcf", card("a-1", "Ann")).etag, stored.etag);
    EXPECT_EQ(book->putNew("a-1.vcf", card("a-1", "Anna")).outcome, Put::Changed);

    const std::vector<CardRef> listed = book->listEtags().value();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].href, stored.href);
    EXPECT_EQ(listed[0].etag, stored.etag);

    const PutResult stale = book->putChanged(stored.href, card("a-1", "Anne"), "\"stale\"");
    EXPECT_EQ(stale.outcome, Put::Changed);
    EXPECT_EQ(book->lastFailure().status, 412);
    const PutResult changed = book->putChanged(stored.href, card("a-1", "Anne"), stored.etag);
    ASSERT_EQ(changed.outcome, Put::Stored) << changed.failure.message.toStdString();
    EXPECT_NE(changed.etag, stored.etag);

    const std::vector<Card> cards =
        book->multiget({stored.href, m_server.book().path() + "gone.vcf"}).value();
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0].vcard, card("a-1", "Anne"));
    EXPECT_EQ(cards[0].etag, changed.etag);

    EXPECT_EQ(book->remove(stored.href, stored.etag).value_or(Failure{}).status, 412);
    EXPECT_FALSE(book->remove(stored.href, changed.etag).has_value());
    EXPECT_FALSE(book->remove(stored.href, changed.etag).has_value()); // already gone: done
    EXPECT_TRUE(book->listEtags().value().empty());
}

TEST_P(CardDavServers, HrefsOfOddNamesMatchWhereverTheyComeFrom)
{
    const std::unique_ptr<CardDavCollection> book = open(m_server.book());
    ASSERT_TRUE(book);
    const QString names[] = {"with space", "a@b.example", "urn:uuid:0a1b",
                             "Zoë Ünal",   "100%",        "a+b&c=d"};
    std::vector<QString> hrefs;
    for (const QString& name : names) {
        const PutResult put = book->putNew(name + ".vcf", card(name, name));
        ASSERT_EQ(put.outcome, Put::Stored)
            << name.toStdString() << ": " << put.failure.message.toStdString();
        hrefs.push_back(put.href);
    }
    std::vector<QString> listed = hrefsOf(book->listEtags().value());
    std::vector<QString> fetched = hrefsOf(book->multiget(hrefs).value());
    std::vector<QString> changed = hrefsOf(book->changesSince("", nullptr).value().changed);
    std::sort(hrefs.begin(), hrefs.end());
    for (std::vector<QString>* got : {&listed, &fetched, &changed}) {
        std::sort(got->begin(), got->end());
        EXPECT_EQ(*got, hrefs);
    }
}

TEST_P(CardDavServers, ChangesSinceATokenAreThePhonesChanges)
{
    const std::unique_ptr<CardDavCollection> book = open(m_server.book());
    ASSERT_TRUE(book);
    const PutResult kept = book->putNew("kept.vcf", card("kept", "Kept"));
    const PutResult edited = book->putNew("edited.vcf", card("edited", "Edited"));
    const PutResult deleted = book->putNew("deleted.vcf", card("deleted", "Deleted"));
    bool invalid = true;
    const Changes first = book->changesSince("", &invalid).value();
    EXPECT_FALSE(invalid);
    EXPECT_EQ(first.changed.size(), 3u);
    const std::optional<QString> ctag = book->ctag();
    ASSERT_TRUE(ctag.has_value()) << book->lastFailure().message.toStdString();

    PhoneClient phone(m_server, m_server.book());
    ASSERT_TRUE(phone.error().isEmpty()) << phone.error().toStdString();
    ASSERT_TRUE(phone.add(card("added", "Added"))
                && phone.edit("edited", card("edited", "Edited again")) && phone.remove("deleted"))
        << phone.error().toStdString();

    const Changes next = book->changesSince(first.token, &invalid).value();
    EXPECT_FALSE(invalid);
    EXPECT_NE(next.token, first.token);
    const std::vector<Card> changedCards = book->multiget(hrefsOf(next.changed)).value();
    std::vector<QString> changedUids;
    for (const Card& got : changedCards)
        changedUids.push_back(QString::fromUtf8(got.vcard).section("UID:", 1).section('\r', 0, 0));
    std::sort(changedUids.begin(), changedUids.end());
    EXPECT_EQ(changedUids, (std::vector<QString>{"added", "edited"}));
    EXPECT_EQ(next.removed, std::vector<QString>{deleted.href});
    EXPECT_NE(book->ctag(), ctag);

    // Nothing since the newest token; an unknown token is told as such.
    EXPECT_TRUE(book->changesSince(next.token, &invalid).value().changed.empty());
    const QString unknown = GetParam() == DavServer::Kind::Xandikos
                                ? "0123456789abcdef0123456789abcdef01234567"
                                : "http://radicale.org/ns/sync/0123";
    EXPECT_FALSE(book->changesSince(unknown, &invalid).has_value());
    EXPECT_TRUE(invalid);
    (void)kept;
    (void)edited;
}

TEST_P(CardDavServers, ManyCardsComeAHundredToARequest)
{
    LossyLink link(quint16(m_server.root().port()));
    const std::unique_ptr<CardDavCollection> book = open(link.url(m_server.book()));
    ASSERT_TRUE(book);
    std::vector<QString> hrefs;
    for (int n = 0; n < 201; ++n)
        hrefs.push_back(
            book->putNew(QString("c%1.vcf").arg(n), card(QString("c%1").arg(n), "C")).href);
    EXPECT_EQ(book->multiget(hrefs).value().size(), 201u);
    EXPECT_EQ(link.requests("REPORT"), 3);
}

// Qt sends a request again when its connection closes before any reply; the
// server then refuses the resend as a change it did not see, which must not
// read as someone else's change.
TEST_P(CardDavServers, ALostReplyIsNoConflictAndNoSecondCard)
{
    LossyLink link(quint16(m_server.root().port()));
    const std::unique_ptr<CardDavCollection> book = open(link.url(m_server.book()));
    ASSERT_TRUE(book);
    link.loseReplies("PUT");
    const PutResult created = book->putNew("a.vcf", card("a", "A"));
    EXPECT_EQ(created.outcome, Put::Stored) << created.failure.message.toStdString();
    link.loseReplies("PUT");
    const PutResult changed = book->putChanged(created.href, card("a", "B"), created.etag);
    EXPECT_EQ(changed.outcome, Put::Stored) << changed.failure.message.toStdString();
    EXPECT_EQ(link.requests("PUT"), 4);
    const std::vector<CardRef> listed = book->listEtags().value();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].etag, changed.etag);
}

TEST_P(CardDavServers, AServerGoneOrSilentIsAFailureWithoutAnAnswer)
{
    const std::unique_ptr<CardDavCollection> book = open(m_server.book());
    ASSERT_TRUE(book);
    book->setTimeout(1000);
    m_server.freeze();
    EXPECT_FALSE(book->listEtags().has_value());
    EXPECT_EQ(book->lastFailure().status, 0);
    EXPECT_EQ(book->lastFailure().message, "The server did not answer in time.");
    m_server.thaw();
    m_server.kill();
    const PutResult put = book->putNew("a.vcf", card("a", "A"));
    EXPECT_EQ(put.outcome, Put::Rejected);
    EXPECT_EQ(put.failure.status, 0);
    EXPECT_TRUE(put.failure.message.startsWith("The server could not be reached"))
        << put.failure.message.toStdString();
    ASSERT_TRUE(m_server.start());
    EXPECT_TRUE(book->listEtags().has_value()) << book->lastFailure().message.toStdString();
}

// radicale over HTTPS: the certificate is checked against the system's
// authorities and the one SSL_CERT_FILE names, and a refusal is told.
TEST(CardDavTls, TheServersCertificateIsCheckedNeverSkipped)
{
    QTemporaryDir folder;
    const TestCa ca(folder.path());
    ASSERT_TRUE(ca.error().isEmpty()) << ca.error().toStdString();
    qputenv("SSL_CERT_FILE", ca.bundle().toLocal8Bit());
    platform::trustCertificateFile();
    const struct {
        TestCa::Server certificate;
        const char* told; // "" when signed in
    } rows[] = {
        {TestCa::Server::Trusted, ""},
        {TestCa::Server::OtherName, "The certificate of 127.0.0.1 is for another name"},
        {TestCa::Server::Expired, "The certificate of 127.0.0.1 has expired."},
        {TestCa::Server::UnknownAuthority,
         "The certificate of 127.0.0.1 comes from an authority this computer does not trust."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.told);
        DavServer server(DavServer::Kind::Radicale, ca.server(row.certificate));
        ASSERT_TRUE(server.error().isEmpty()) << server.error().toStdString();
        const OpenedCollection opened = CardDavCollection::open(
            {server.root(), server.userName(), {}}, DavServer::password, nullptr);
        EXPECT_EQ(bool(opened.collection), *row.told == '\0');
        EXPECT_EQ(opened.failure.message.left(QString(row.told).size()), row.told);
        EXPECT_EQ(opened.failure.status, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(, CardDavServers,
                         ::testing::Values(DavServer::Kind::Radicale,
                                           DavServer::Kind::RadicaleDigest,
                                           DavServer::Kind::Xandikos),
                         [](const auto& info) { return DavServer::name(info.param); });

} // namespace
} // namespace tovren::sync
