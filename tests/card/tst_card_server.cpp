// The card on a shared book whose server stops while a change is typed:
// the save tells the person the server cannot be reached and keeps the
// typing; once the server is back the same save stores it.

#include "card_fixture.h"

#include "data/connection_string.h"
#include "platform/profile_file.h"
#include "records/server_book.h"
#include "support/pg_cluster.h"

namespace {

using platform::Answer;
using testing_support::PgCluster;

class CardOnServer : public CardTest {
protected:
    void SetUp() override
    {
        m_pg = PgCluster::shared();
        if (!m_pg)
            GTEST_SKIP() << PgCluster::missingServerMessage;
    }
    // The database goes with the cluster; the server is left running.
    void TearDown() override
    {
        if (m_pg) {
            EXPECT_TRUE(m_pg->start());
        }
    }
    // The rows of the server's Address table as "Name|City".
    QStringList storedOnServer()
    {
        QStringList rows;
        for (const QVariantList& row : data::Connection::open(m_book)->io().execute(
                 "SELECT \"Name\" || '|' || coalesce(\"City\", '') FROM \"Address\""
                 " ORDER BY \"AddressId\""))
            rows << row[0].toString();
        return rows;
    }

    PgCluster* m_pg = nullptr;
    QString m_book;
};

TEST_F(CardOnServer, ASaveWhileTheServerIsDownKeepsTheTypingUntilItIsBack)
{
    const QString database = m_pg->createDatabase();
    ASSERT_FALSE(database.isEmpty()) << m_pg->error().toStdString();
    m_book = m_pg->connectionString(database);
    records::createServerBook(m_book);
    data::Connection::open(m_book)->io().execute(
        "INSERT INTO \"Address\" (\"Name\", \"City\", \"SalutationId\", \"ReligionId\")"
        " VALUES ('Ada', 'Pune', 1, 1), ('Bo', 'Pune', 1, 1)");
    for (const auto& [key, value] : data::parseConnectionString(m_book).values)
        platform::writeProfileString(home("Address.ini"), "DatabasePath", key, value);
    start().show();
    trigger("mnuAddress");
    frmAddress& card = *frmAddress::instance();
    type(card.txtFld[5], "Goa");

    ASSERT_TRUE(m_pg->stop());
    trigger("mnuSave", {Answer::OK});
    const auto told = m_prompts.messages().back();
    EXPECT_EQ(told.title, "Save");
    EXPECT_EQ(told.icon, platform::Icon::Exclamation);
    for (const QString& part :
         QStringList{"server " + m_pg->socketDir(), QString("port %1").arg(m_pg->port()),
                     QString("save them again")})
        EXPECT_TRUE(told.text.contains(part)) << told.text.toStdString();
    EXPECT_EQ(shown(), "Ada 1 / 2 changed");
    EXPECT_EQ(card.txtFld[5]->text(), "Goa");

    ASSERT_TRUE(m_pg->start());
    EXPECT_EQ(storedOnServer(), (QStringList{"Ada|Pune", "Bo|Pune"}));
    trigger("mnuSave");
    EXPECT_EQ(shown(), "Ada 1 / 2");
    EXPECT_EQ(storedOnServer(), (QStringList{"Ada|Goa", "Bo|Pune"}));
    EXPECT_EQ(m_prompts.messages().size(), 1u);
}

} // namespace
