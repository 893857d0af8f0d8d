// Sync against real CardDAV servers (radicale and xandikos), with
// vdirsyncer as the phone: a second client changing the same address book
// between the book's syncs. Grouped by scenario; each runs on both servers.

#include "refusing_proxy.h"

#include "sync/conflicts.h"
#include "sync/synchronizer.h"

#include "data/connection.h"
#include "data/database_io.h"
#include "records/schema.h"
#include "support/dav_server.h"
#include "support/lossy_link.h"
#include "support/run_program.h"
#include "support/test_helpers.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace tovren::sync;
using testing_support::DavServer;
using testing_support::PhoneClient;

QByteArray phoneCard(const QString& uid, const QString& name, const QString& extra = {})
{
    return QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:%1\r\nFN:%2\r\nN:%2;;;;\r\n%3"
                          "END:VCARD\r\n")
        .arg(uid, name, extra)
        .toUtf8();
}

class SyncTest : public testing::TestWithParam<DavServer::Kind> {
protected:
    void SetUp() override
    {
        if (const QString missing = DavServer::missing(GetParam()); !missing.isEmpty())
            GTEST_SKIP() << missing.toStdString();
        m_server.emplace(GetParam());
        if (!m_server->error().isEmpty())
            GTEST_SKIP() << m_server->error().toStdString();
        records::createDatabase(m_dir.filePath(QStringLiteral("TND.dbx")));
        m_phone.emplace(*m_server, m_server->book());
        ASSERT_TRUE(m_phone->error().isEmpty()) << m_phone->error().toStdString();
    }

    std::shared_ptr<data::Connection> open() const
    {
        return data::Connection::open(QStringLiteral("Data Source=")
                                      + m_dir.filePath(QStringLiteral("TND.dbx")));
    }
    std::vector<QVariantList> sql(const QString& statement, const QVariantList& values = {}) const
    {
        return open()->io().execute(statement, values);
    }
    void addContact(const QString& name, const QString& city = {})
    {
        sql(QStringLiteral("INSERT INTO \"Address\" (\"Name\", \"City\") VALUES (?, ?)"),
            {name, city});
    }
    // `count` contacts "<prefix> 0", "<prefix> 1"... each in a city of its own, in one statement.
    void addContacts(int count, const QString& prefix)
    {
        sql(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n"
                           " WHERE i + 1 < ?) INSERT INTO \"Address\" (\"Name\", \"City\")"
                           " SELECT ? || ' ' || i, 'City ' || i FROM n"),
            {count, prefix});
    }
    // Name|City of every contact, in name order.
    QStringList contacts() const
    {
        QStringList all;
        for (const QVariantList& row : sql(QStringLiteral(
                 "SELECT \"Name\", \"City\" FROM \"Address\" ORDER BY \"Name\", \"AddressId\"")))
            all << row[0].toString() + QLatin1Char('|') + row[1].toString();
        return all;
    }

    // One sync, through the proxy when there is one. What a sign-in learnt
    // goes with the next, as Address.ini keeps it.
    SyncSummary sync(const interchange::Progress& progress = {})
    {
        const QUrl book = m_link    ? m_link->url(m_server->book(m_bookName))
                          : m_proxy ? m_proxy->through(m_server->book(m_bookName))
                                    : m_server->book(m_bookName);
        if (m_account.url != book)
            m_account = {book, m_server->userName(), QString()};
        OpenedCollection opened =
            CardDavCollection::open(m_account, QString::fromLatin1(DavServer::password), {});
        if (!opened.collection) {
            SyncSummary failed;
            failed.stopped = opened.failure;
            return failed;
        }
        m_account = opened.collection->learnt(m_account);
        SyncedBook synced(open());
        return Synchronizer(synced, *opened.collection).run(progress);
    }
    std::map<QString, QByteArray> phoneCards()
    {
        auto cards = m_phone->cards();
        EXPECT_TRUE(cards) << m_phone->error().toStdString();
        return cards.value_or(std::map<QString, QByteArray>{});
    }
    QString uidOfPhoneCard(const QString& text)
    {
        for (const auto& [uid, card] : phoneCards()) {
            if (card.contains(text.toUtf8()))
                return uid;
        }
        return QString();
    }

    QTemporaryDir m_dir;
    SyncAccount m_account;
    std::optional<DavServer> m_server;
    std::optional<PhoneClient> m_phone;
    std::unique_ptr<sync_tests::RefusingProxy> m_proxy;
    std::unique_ptr<testing_support::LossyLink> m_link;
    QString m_bookName = QStringLiteral("contacts"); // the address book synced with
};

TEST_P(SyncTest, FirstSyncBothWaysAndAgainNothing)
{
    m_link = std::make_unique<testing_support::LossyLink>(quint16(m_server->book().port()));
    addContact(QStringLiteral("Asha Rao"), QStringLiteral("Pune"));
    addContact(QStringLiteral("Ravi Iyer"), QStringLiteral("Goa"));
    ASSERT_TRUE(m_phone->add(phoneCard(QStringLiteral("p1"), QStringLiteral("Lena Vogel"))));

    const SyncSummary first = sync();
    EXPECT_FALSE(first.stopped) << first.lines().join('\n').toStdString();
    EXPECT_EQ(first.server, (SyncSummary::Side{2, 0, 0}));
    EXPECT_EQ(first.book, (SyncSummary::Side{1, 0, 0}));
    EXPECT_EQ(contacts(), QStringList({"Asha Rao|Pune", "Lena Vogel|", "Ravi Iyer|Goa"}));
    EXPECT_EQ(phoneCards().size(), 3u);

    // Nothing changed: one request, and Digest's refused one before it.
    const int before = m_link->requests();
    const SyncSummary again = sync();
    EXPECT_EQ(again.server, SyncSummary::Side{});
    EXPECT_EQ(again.book, SyncSummary::Side{});
    EXPECT_EQ(contacts().size(), 3);
    EXPECT_EQ(m_link->requests() - before, GetParam() == DavServer::Kind::RadicaleDigest ? 2 : 1);
}

TEST_P(SyncTest, EditsAndDeletesBothWays)
{
    addContact(QStringLiteral("Asha Rao"), QStringLiteral("Pune"));
    addContact(QStringLiteral("Ravi Iyer"), QStringLiteral("Goa"));
    addContact(QStringLiteral("Meera Nair"));
    ASSERT_FALSE(sync().stopped);
    const QString ravi = uidOfPhoneCard(QStringLiteral("Ravi Iyer"));
    const QString meera = uidOfPhoneCard(QStringLiteral("Meera Nair"));

    sql(QStringLiteral("UPDATE \"Address\" SET \"City\" = 'Agra' WHERE \"Name\" = 'Asha Rao'"));
    ASSERT_TRUE(m_phone->edit(ravi, phoneCard(ravi, QStringLiteral("Ravi Iyer"),
                                              QStringLiteral("ADR:;;;Chennai;;;\r\n"))));
    ASSERT_TRUE(m_phone->remove(meera));
    addContact(QStringLiteral("Zoya Khan"));
    sql(QStringLiteral("DELETE FROM \"Address\" WHERE \"Name\" = 'Zoya Khan'"));

    const SyncSummary summary = sync();
    EXPECT_EQ(summary.server, (SyncSummary::Side{0, 1, 0}));
    EXPECT_EQ(summary.book, (SyncSummary::Side{0, 1, 1}));
    EXPECT_EQ(contacts(), QStringList({"Asha Rao|Agra", "Ravi Iyer|Chennai"}));

    sql(QStringLiteral("DELETE FROM \"Address\" WHERE \"Name\" = 'Ravi Iyer'"));
    EXPECT_EQ(sync().server, (SyncSummary::Side{0, 0, 1}));
    const auto cards = phoneCards();
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_TRUE(cards.begin()->second.contains("Agra"));
}

TEST_P(SyncTest, BothSidesChangedKeepsBothAndSendsTheChoice)
{
    addContact(QStringLiteral("Asha Rao"), QStringLiteral("Pune"));
    addContact(QStringLiteral("Ravi Iyer"), QStringLiteral("Goa"));
    ASSERT_FALSE(sync().stopped);
    const QString asha = uidOfPhoneCard(QStringLiteral("Asha Rao"));
    const QString ravi = uidOfPhoneCard(QStringLiteral("Ravi Iyer"));
    sql(QStringLiteral("UPDATE \"Address\" SET \"City\" = 'Mine'"));
    ASSERT_TRUE(m_phone->edit(
        asha, phoneCard(asha, QStringLiteral("Asha Rao"), QStringLiteral("ADR:;;;Theirs;;;\r\n"))));
    // Deleted here, changed there: kept.
    ASSERT_TRUE(m_phone->edit(
        ravi, phoneCard(ravi, QStringLiteral("Ravi Iyer"), QStringLiteral("ADR:;;;Kochi;;;\r\n"))));
    sql(QStringLiteral("DELETE FROM \"Address\" WHERE \"Name\" = 'Ravi Iyer'"));

    const SyncSummary summary = sync();
    EXPECT_EQ(summary.conflicts, QStringList{QStringLiteral("Asha Rao")});
    EXPECT_EQ(summary.kept, QStringList{QStringLiteral("Ravi Iyer")});
    EXPECT_EQ(contacts(), QStringList({"Asha Rao|Theirs", "Ravi Iyer|Kochi"}));
    {
        SyncedBook book(open());
        const std::vector<Conflict> open = conflicts(book);
        ASSERT_EQ(open.size(), 1u);
        EXPECT_EQ(open[0].mine[interchange::Column::City], QStringLiteral("Mine"));
        choose(book, open[0].id, true);
    }
    EXPECT_EQ(sync().server, (SyncSummary::Side{0, 1, 0}));
    EXPECT_TRUE(phoneCards()[asha].contains("Mine"));
    SyncedBook book(open());
    EXPECT_TRUE(conflicts(book).empty());
}

// A phone rewrites cards the book sent, a UID folded over two lines or
// grouped (radicale refuses the grouped one); the phone takes the grouped
// UID for none and files the card anew under a name of its own. Each is
// still the same contact of the book, changed, never a second one.
TEST_P(SyncTest, CardsRewrittenWithAFoldedOrGroupedUidStayTheBooks)
{
    struct Row {
        const char* name;
        const char* city;
        const char* uidLine; // %1%2 the UID, cut in two
    };
    std::vector<Row> rows{{"Asha Rao", "Agra", "UID:%1\r\n %2"}};
    if (GetParam() == DavServer::Kind::Xandikos)
        rows.push_back({"Ravi Iyer", "Kochi", "item1.UID:%1%2"});
    QStringList changed;
    for (const Row& row : rows)
        addContact(QString::fromUtf8(row.name), QStringLiteral("Pune"));
    ASSERT_FALSE(sync().stopped);
    const auto ids = [this] {
        return sql(QStringLiteral("SELECT \"AddressId\" FROM \"Address\""));
    };
    const auto before = ids();
    for (const Row& row : rows) {
        const QString name = QString::fromUtf8(row.name);
        const QString uid = uidOfPhoneCard(name);
        const QString uidLine = QString::fromUtf8(row.uidLine).arg(uid.left(9), uid.mid(9));
        const QString card = QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\n%1\r\nFN:%2\r\n"
                                            "N:%2;;;;\r\nADR:;;;%3;;;\r\nEND:VCARD\r\n")
                                 .arg(uidLine, name, QString::fromUtf8(row.city));
        ASSERT_TRUE(m_phone->edit(uid, card.toUtf8())) << m_phone->error().toStdString();
        changed << name + QLatin1Char('|') + QString::fromUtf8(row.city);
    }
    const SyncSummary summary = sync();
    EXPECT_FALSE(summary.stopped) << summary.lines().join('\n').toStdString();
    EXPECT_EQ(summary.book, (SyncSummary::Side{0, int(rows.size()), 0}));
    EXPECT_EQ(contacts(), changed);
    EXPECT_EQ(ids(), before);
    const SyncSummary quiet = sync();
    EXPECT_EQ(quiet.book, SyncSummary::Side{});
    EXPECT_EQ(quiet.server, SyncSummary::Side{});
}

TEST_P(SyncTest, LostPutAnswerMakesNoSecondCard)
{
    m_link = std::make_unique<testing_support::LossyLink>(quint16(m_server->book().port()));
    addContact(QStringLiteral("Asha Rao"), QStringLiteral("Pune"));
    m_link->loseReplies("PUT");
    // The card is sent again, in this sync (the HTTP client retries a
    // request whose connection closed) or the next.
    if (sync().stopped) {
        const SyncSummary again = sync();
        EXPECT_FALSE(again.stopped) << again.lines().join('\n').toStdString();
    }
    EXPECT_GE(m_link->requests("PUT"), 2);
    EXPECT_EQ(phoneCards().size(), 1u);
    EXPECT_EQ(contacts(), QStringList{"Asha Rao|Pune"});
    EXPECT_EQ(sync().server, SyncSummary::Side{});
}

// A contact whose card went up but whose answer never came back (the
// state as a lost answer leaves it), deleted before the next sync: the
// card is deleted on the server too, not left there to come back down.
TEST_P(SyncTest, ContactDeletedAfterAnUnansweredSendStaysDeleted)
{
    addContact(QStringLiteral("Asha Rao"), QStringLiteral("Pune"));
    ASSERT_FALSE(sync().stopped);
    sql(QStringLiteral("UPDATE \"SyncCard\" SET \"Href\" = '', \"ETag\" = '', \"VCard\" = NULL"));
    sql(QStringLiteral("DELETE FROM \"Address\""));
    const SyncSummary summary = sync();
    EXPECT_EQ(summary.server, (SyncSummary::Side{0, 0, 1}));
    EXPECT_EQ(summary.book, SyncSummary::Side{});
    EXPECT_TRUE(contacts().isEmpty());
    EXPECT_TRUE(phoneCards().empty());
    EXPECT_TRUE(sql(QStringLiteral("SELECT 1 FROM \"SyncCard\"")).empty());
}

TEST_P(SyncTest, RefusedCardIsNamedAndTheRestGoOn)
{
    m_proxy = std::make_unique<sync_tests::RefusingProxy>(m_server->book(), "Too Big", 413);
    addContact(QStringLiteral("Asha Rao"));
    addContact(QStringLiteral("Too Big"));
    addContact(QStringLiteral("Ravi Iyer"));
    const SyncSummary summary = sync();
    ASSERT_EQ(summary.refused.size(), 1);
    EXPECT_TRUE(summary.refused[0].startsWith(QStringLiteral("Too Big: ")))
        << summary.refused[0].toStdString();
    EXPECT_EQ(summary.server.added, 2);
    EXPECT_EQ(phoneCards().size(), 2u);
}

TEST_P(SyncTest, ForgottenTokenGivesAFullListingKeepingLocalEdits)
{
    addContact(QStringLiteral("Asha Rao"), QStringLiteral("Pune"));
    ASSERT_TRUE(m_phone->add(phoneCard(QStringLiteral("p1"), QStringLiteral("Lena Vogel"))));
    ASSERT_FALSE(sync().stopped);
    // The server no longer knows the token the book holds.
    sql(QStringLiteral("UPDATE \"SyncAccount\" SET \"Token\" = ?, \"CTag\" = 'gone'"),
        {QVariant(m_server->book().toString() + QStringLiteral("sync-token-it-forgot"))});
    sql(QStringLiteral("UPDATE \"Address\" SET \"City\" = 'Agra' WHERE \"Name\" = 'Asha Rao'"));
    const SyncSummary summary = sync();
    EXPECT_FALSE(summary.stopped) << summary.lines().join('\n').toStdString();
    EXPECT_EQ(contacts(), QStringList({"Asha Rao|Agra", "Lena Vogel|"}));
    EXPECT_EQ(phoneCards().size(), 2u);
    EXPECT_EQ(sync().book, SyncSummary::Side{});
}

// Another address book of the server: what the book knew of the first is
// forgotten, and every contact is new to the second.
TEST_P(SyncTest, AnotherAddressBookTakesEveryContactAsNew)
{
    addContacts(3, QStringLiteral("Book"));
    ASSERT_FALSE(sync().stopped);
    ASSERT_TRUE(m_server->addBook(QStringLiteral("work"), QStringLiteral("Work")))
        << m_server->error().toStdString();
    m_bookName = QStringLiteral("work");
    const SyncSummary moved = sync();
    EXPECT_EQ(moved.server, (SyncSummary::Side{3, 0, 0}));
    EXPECT_EQ(moved.book, SyncSummary::Side{});
    EXPECT_EQ(contacts().size(), 3);
    const auto states = sql(QStringLiteral("SELECT \"Href\" FROM \"SyncCard\""));
    EXPECT_EQ(states.size(), 3u);
    for (const QVariantList& state : states)
        EXPECT_TRUE(state[0].toString().startsWith(m_server->book(m_bookName).path()))
            << state[0].toString().toStdString();
    EXPECT_EQ(sql(QStringLiteral("SELECT \"Url\" FROM \"SyncAccount\"")),
              (std::vector<QVariantList>{{m_server->book(m_bookName).toString()}}));
}

// The server killed in the middle of a first sync, one way and the other:
// the next sync completes it, and nothing is doubled.
TEST_P(SyncTest, ServerKilledHalfwayThroughAFirstSync)
{
    if (GetParam() == DavServer::Kind::RadicaleDigest)
        GTEST_SKIP() << "the same radicale as without Digest, killed the same way";
    // A thousand cards on the server, put straight into its store.
    const QDir store(m_server->bookFolder());
    for (int i = 0; i < 1000; ++i)
        ASSERT_TRUE(testing_support::writeBytes(
            store.filePath(QStringLiteral("s%1.vcf").arg(i)),
            phoneCard(QStringLiteral("s%1").arg(i), QStringLiteral("Server %1").arg(i))));
    if (GetParam() == DavServer::Kind::Xandikos) {
        // xandikos serves what its git repository holds.
        for (const QStringList& git :
             {QStringList{"add", "-A"},
              QStringList{"-c", "user.name=t", "-c", "user.email=t@t", "commit", "-qm", "seed"}})
            ASSERT_EQ(QProcess::execute("git", QStringList{"-C", store.path()} + git), 0);
    }
    addContacts(30, QStringLiteral("Book"));
    // Stopped twice: once among the book's cards going up, once among the
    // server's coming down.
    for (const qint64 killAt : {10, 500}) {
        const SyncSummary cut = sync([&](qint64 done, qint64) {
            if (done == killAt)
                m_server->kill();
            return true;
        });
        ASSERT_TRUE(cut.stopped) << killAt;
        ASSERT_TRUE(m_server->start()) << m_server->error().toStdString();
    }
    const SyncSummary rest = sync();
    EXPECT_FALSE(rest.stopped) << rest.lines().join('\n').toStdString();
    EXPECT_EQ(contacts().size(), 1030);
    EXPECT_EQ(store.entryList({"*.vcf"}, QDir::Files).size(), 1030);
    const SyncSummary quiet = sync();
    EXPECT_EQ(quiet.book, SyncSummary::Side{});
    EXPECT_EQ(quiet.server, SyncSummary::Side{});
}

// The server killed after half of a first sync's contacts went up: the
// next sync sends the other half, and every contact is on the server once,
// the book as it was, each card told once. Three hundred on radicale alone,
// not a thousand on both: a thousand took radicale 30 s on a quiet machine
// and two minutes on a busy one (xandikos as long), nearly all of it the
// server's own work (radicale reads its whole folder for each card,
// xandikos makes a commit); three hundred take under 10 s. The test above
// already kills each server among cards going up.
TEST_P(SyncTest, ServerKilledHalfwayThroughAFirstUpload)
{
    if (GetParam() == DavServer::Kind::Xandikos)
        GTEST_SKIP() << "the upload is the same to either server";
    constexpr int kContacts = 300;
    addContacts(kContacts, QStringLiteral("Book"));
    const QStringList book = contacts();
    const SyncSummary cut = sync([&](qint64 done, qint64) {
        if (done == kContacts / 2)
            m_server->kill();
        return true;
    });
    ASSERT_TRUE(cut.stopped);
    ASSERT_TRUE(m_server->start()) << m_server->error().toStdString();
    const SyncSummary rest = sync();
    EXPECT_FALSE(rest.stopped) << rest.lines().join('\n').toStdString();
    EXPECT_EQ(cut.server.added, kContacts / 2);
    EXPECT_EQ(rest.server.added, kContacts - kContacts / 2);
    EXPECT_EQ(rest.book, SyncSummary::Side{});
    EXPECT_TRUE(rest.refused.isEmpty() && rest.conflicts.isEmpty() && rest.kept.isEmpty())
        << rest.lines().join('\n').toStdString();
    EXPECT_EQ(contacts(), book);

    const QDir store(m_server->bookFolder());
    const QStringList files = store.entryList({"*.vcf"}, QDir::Files);
    EXPECT_EQ(files.size(), kContacts);
    std::set<QString> names, expected;
    for (const QString& file : files)
        names.insert(QString::fromUtf8(testing_support::readBytes(store.filePath(file)))
                         .section(QStringLiteral("\nFN:"), 1)
                         .section(QLatin1Char('\r'), 0, 0));
    for (const QString& contact : book)
        expected.insert(contact.section(QLatin1Char('|'), 0, 0));
    EXPECT_EQ(names, expected);
    EXPECT_EQ(sync().server, SyncSummary::Side{});
}

// tovren-book sync, as a timer runs it: the password from a command, the
// summary on stdout, the exit status telling what a script needs to know.
TEST_P(SyncTest, CommandLineSyncsAndTellsByItsStatus)
{
    addContact(QStringLiteral("Asha Rao"), QStringLiteral("Pune"));
    ASSERT_TRUE(testing_support::writeBytes(
        m_dir.filePath(QStringLiteral("Address.ini")),
        QStringLiteral("[Sync]\nURL=%1\nUser=%2\nPasswordCommand=printf %s '%3'\n")
            .arg(m_server->book().toString(), m_server->userName(), DavServer::password)
            .toUtf8()));
    const auto tool = [this](const QStringList& words) {
        return testing_support::runProgram(QStringLiteral("tovren-book"),
                                           QStringList{QStringLiteral("--home"), m_dir.path()}
                                               + words);
    };
    const testing_support::Ran dry = tool({QStringLiteral("sync"), QStringLiteral("--dry-run")});
    EXPECT_EQ(dry.status, 0) << dry.err.toStdString();
    EXPECT_TRUE(dry.out.contains("On the server: 1 added")) << dry.out.toStdString();
    EXPECT_TRUE(phoneCards().empty()) << "a dry run sends nothing";

    const testing_support::Ran ran = tool({QStringLiteral("sync")});
    EXPECT_EQ(ran.status, 0) << ran.err.toStdString();
    EXPECT_TRUE(ran.out.contains("On the server: 1 added")) << ran.out.toStdString();
    EXPECT_EQ(phoneCards().size(), 1u);

    m_server->kill();
    sql(QStringLiteral("UPDATE \"Address\" SET \"City\" = 'Agra'"));
    const testing_support::Ran down = tool({QStringLiteral("sync")});
    EXPECT_EQ(down.status, 7) << down.out.toStdString();
    EXPECT_TRUE(down.err.startsWith("tovren-book: ") || down.out.contains("stopped"))
        << down.err.toStdString();
    EXPECT_EQ(tool({QStringLiteral("sync"), QStringLiteral("extra")}).status, 2);
}

// Cards other clients write come back unchanged but for the one field
// edited (and REV): every line as the server gave it before, to the phone.
TEST_P(SyncTest, ForeignCardsKeepEveryOtherLine)
{
    const QByteArray cards[] = {
        "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:photo\r\nFN:Meera Rao\r\nN:Rao;Meera;;;\r\n"
        "item1.EMAIL;type=INTERNET;type=pref:meera@a.example\r\n"
        "item2.EMAIL;type=INTERNET:meera@b.example\r\nitem2.X-ABLabel:Other\r\n"
        "ADR;TYPE=HOME:;;1 Sea Road;Mumbai;;;\r\n"
        "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQAAAQABAAD/2wBDAAgGBgcGBQgHBwcJ\r\n"
        " Hh0aHBwgJC4nICIsIxwcKDcpLDAxNDQ0Hyc5PTgyPC4zNDL/2wBDAQkJCQwLDBgNDRgyIRwh\r\n"
        "X-SOCIALPROFILE;type=twitter:http://twitter.com/meera\r\nEND:VCARD\r\n",
        "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:four\r\nFN:Aiko Tanaka\r\nN:Tanaka;Aiko;;;\r\n"
        "GENDER:F\r\nKIND:individual\r\nADR:;;2 Hill Road;Kyoto;;;\r\n"
        "TEL;VALUE=uri;TYPE=cell:tel:+81-90-5555-0101\r\nEND:VCARD\r\n",
        "BEGIN:VCARD\r\nVERSION:2.1\r\nUID:two-one\r\n"
        "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C5=A0ar=C4=8Di=C4=87;Ivan;;;\r\n"
        "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Ivan=20=C5=A0ar=C4=8Di=C4=87\r\n"
        "ADR;HOME:;;3 Old Street;Zagreb;;;\r\nTEL;CELL:+385 91 555 0101\r\nEND:VCARD\r\n",
    };
    for (const QByteArray& card : cards)
        ASSERT_TRUE(m_phone->add(card));
    ASSERT_FALSE(sync().stopped);
    std::map<QString, QByteArray> before; // as the server gave them (some servers rewrite them)
    for (const QVariantList& row :
         sql(QStringLiteral("SELECT \"Uid\", \"VCard\" FROM \"SyncCard\"")))
        before[row[0].toString()] = row[1].toString().toUtf8();
    ASSERT_EQ(before.size(), 3u);
    sql(QStringLiteral("UPDATE \"Address\" SET \"City\" = 'Elsewhere'"));
    EXPECT_EQ(sync().server.changed, 3);
    const auto after = phoneCards();
    for (const auto& [uid, card] : before) {
        static const QRegularExpression lineEnd(QStringLiteral("\r?\n"));
        QStringList was = QString::fromUtf8(card).split(lineEnd);
        QStringList now = QString::fromUtf8(after.at(uid)).split(lineEnd);
        const auto adrOrRev = [](const QString& line) {
            return line.contains(QLatin1String("ADR")) || line.startsWith(u"REV:");
        };
        was.removeIf(adrOrRev);
        now.removeIf(adrOrRev);
        EXPECT_EQ(now, was) << uid.toStdString();
        EXPECT_TRUE(after.at(uid).contains(";Elsewhere;")) << uid.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Servers, SyncTest,
                         testing::Values(DavServer::Kind::Radicale, DavServer::Kind::RadicaleDigest,
                                         DavServer::Kind::Xandikos),
                         [](const testing::TestParamInfo<DavServer::Kind>& info) {
                             return DavServer::name(info.param);
                         });

} // namespace
