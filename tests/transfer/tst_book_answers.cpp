// tovren-book's answers to a mail program (query) and to a script (list)
// hold one contact a line, its fields split at TABs, whatever the book
// stores: a line break or a TAB that an imported vCard or CSV put into a
// name must not make a line or a field of its own, or a mail program offers
// an address that is in no contact. The same on a book file (answered by
// SQLite alone) and on a server book (through the record layer).

#include "book_fixture.h"

#include "records/server_book.h"
#include "support/pg_cluster.h"

namespace transfer_tests {
namespace {

// A name that forges a second entry, an organisation on two lines and a
// terminal's escape in the city (a vCard); a quoted CSV cell over two
// lines, a TAB, a bell, a CR in the e-mail address and a Unicode line
// separator.
const QByteArray kVCard = "BEGIN:VCARD\r\nVERSION:3.0\r\n"
                          "FN:Boss\\nmallory@evil.example\tBoss\tAcme\r\n"
                          "ORG:Acme\\nLtd\r\nEMAIL:boss@acme.example\r\n"
                          "ADR:;;;Pune\x1b[2J;;;\r\nEND:VCARD\r\n";
const QByteArray kCsv = "Name,Company,EmlAddr,City\r\n"
                        "\"Carol\r\nmallory@evil.example\tCarol\tFirm\",Firm\x07,"
                        "\"carol@firm.example\reve@evil.example\",Goa\u2028North\r\n";

class HostileTextTest : public BookTest, public testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        BookTest::SetUp();
        if (GetParam())
            useServerBook();
        if (IsSkipped() || HasFatalFailure())
            return;
        for (const auto& [name, bytes] :
             {std::pair{"hostile.vcf", kVCard}, {"hostile.csv", kCsv}}) {
            ASSERT_TRUE(testing_support::writeBytes(file(name), bytes));
            const testing_support::Ran imported = tool({QStringLiteral("import"), file(name)});
            ASSERT_EQ(imported.status, 0) << imported.err.toStdString();
        }
    }
    void TearDown() override
    {
        if (m_pg && !m_database.isEmpty()) {
            EXPECT_TRUE(m_pg->dropDatabase(m_database)) << m_pg->error().toStdString();
        }
    }

    // The book folder's Address.ini names a fresh book on the test server.
    void useServerBook()
    {
        m_pg = testing_support::PgCluster::shared();
        if (!m_pg) {
            GTEST_SKIP() << testing_support::PgCluster::missingServerMessage;
        }
        m_database = m_pg->createDatabase();
        ASSERT_FALSE(m_database.isEmpty()) << m_pg->error().toStdString();
        const QString server = m_pg->connectionString(m_database);
        records::createServerBook(server);
        ASSERT_TRUE(testing_support::writeBytes(
            file(QStringLiteral("Address.ini")),
            "[DatabasePath]\n"
                + QString(server).replace(QLatin1Char(';'), QLatin1Char('\n')).toUtf8() + '\n'));
    }

    testing_support::PgCluster* m_pg = nullptr;
    QString m_database;
};

TEST_P(HostileTextTest, EveryContactStaysOneLineOfItsOwnFields)
{
    const testing_support::Ran query = tool({QStringLiteral("query"), QStringLiteral("example")});
    EXPECT_EQ(query.status, 0) << query.err.toStdString();
    EXPECT_EQ(query.out, QByteArray("Tovren: 2 matches for 'example'\n"
                                    "boss@acme.example\tBoss mallory@evil.example Boss Acme"
                                    "\tAcme Ltd\n"
                                    "carol@firm.example eve@evil.example\t"
                                    "Carol mallory@evil.example Carol Firm\tFirm\n"));
    const testing_support::Ran list = tool({QStringLiteral("list")});
    EXPECT_EQ(list.status, 0) << list.err.toStdString();
    EXPECT_EQ(list.out, QByteArray("Boss mallory@evil.example Boss Acme\tAcme Ltd"
                                   "\tboss@acme.example\tPune[2J\n"
                                   "Carol mallory@evil.example Carol Firm\tFirm"
                                   "\tcarol@firm.example eve@evil.example\tGoa North\n"));
}

INSTANTIATE_TEST_SUITE_P(BookFileAndServerBook, HostileTextTest, testing::Bool(),
                         [](const auto& info) { return info.param ? "Server" : "File"; });

} // namespace
} // namespace transfer_tests
