// Opening a book on a PostgreSQL server: passwords are taken from the string
// or the client library's password file and never shown, a failed login
// names the server, and only a database that holds a book opens.

#include "data/connection.h"
#include "data/connection_string.h"
#include "data/recordset.h"
#include "platform/error_numbers.h"
#include "records/server_book.h"
#include "support/pg_cluster.h"
#include "support/test_helpers.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using testing_support::PgCluster;
using testing_support::raised;
namespace err = platform::err;

TEST(ConnectionString, PasswordsAreMaskedWhereverTheyStand)
{
    // Each string, as it may be shown, and the password it hands on.
    const struct {
        const char* written;
        const char* shown;
        const char* password;
    } cases[] = {
        {"Provider=PostgreSQL;Host=db1;Password=s3cret;User ID=password",
         "Provider=PostgreSQL;Host=db1;Password=*****;User ID=password", "s3cret"},
        {"pwd = 'a;b=c' ;Database=d", "pwd =*****;Database=d", "a;b=c"},
        {"PASSWORD=\"it's;x\"", "PASSWORD=*****", "it's;x"},
        {"Password=;Pwd=two", "Password=*****;Pwd=*****", "two"},
        {"Data Source=/a/TND.dbx", "Data Source=/a/TND.dbx", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(data::maskedConnectionString(c.written), c.shown) << c.written;
        const data::ConnectionTarget target = data::parseConnectionString(c.written);
        EXPECT_EQ(target.value(u"Password") + target.value(u"Pwd"), c.password) << c.written;
    }
}

class ServerConnection : public testing_support::PgDatabaseTest {
protected:
    QString book(const QString& user = PgCluster::adminUser) const
    {
        return m_pg->connectionString(m_database, user);
    }
    // The failure of opening `connectionString`, which must be `number`.
    static platform::RunTimeError failure(const QString& connectionString, qint32 number)
    {
        const platform::RunTimeError error =
            raised([&] { data::Connection::open(connectionString); });
        EXPECT_EQ(error.number(), number) << error.description().toStdString();
        return error;
    }
};

TEST_F(ServerConnection, TheSecretRoleLogsInWithItsPasswordOrThePasswordFile)
{
    records::createServerBook(book());
    const QString secret = book(PgCluster::secretUser);
    const QString right = PgCluster::secretPassword;
    const QString wrong = right + "x";
    // A failed login names the server and its port and shows no password.
    for (const QString& cs : QStringList{secret, secret + ";Password=" + wrong}) {
        const QString why = failure(cs, err::ServerUnreachable).description();
        EXPECT_TRUE(why.contains(m_pg->socketDir()) && why.contains(QString::number(m_pg->port())))
            << why.toStdString();
        EXPECT_FALSE(why.contains(right) || why.contains(wrong)) << why.toStdString();
    }

    const auto connection = data::Connection::open(secret + ";Password=" + right);
    EXPECT_EQ(connection->ConnectionString(), secret + ";Password=*****");
    EXPECT_TRUE(connection->location().contains(m_database));

    // The client library's password file, when the string has none.
    QTemporaryDir home;
    QFile passwords(home.filePath("pgpass"));
    ASSERT_TRUE(passwords.open(QIODevice::WriteOnly)
                && passwords.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
    passwords.write(QString("%1:%2:*:%3:%4\n")
                        .arg(m_pg->socketDir())
                        .arg(m_pg->port())
                        .arg(PgCluster::secretUser, right)
                        .toUtf8());
    passwords.close();
    qputenv("PGPASSFILE", QFile::encodeName(passwords.fileName()));
    EXPECT_NO_THROW(data::Connection::open(secret));
    qunsetenv("PGPASSFILE");

    // A password holding the separator, quoted in the string.
    ASSERT_TRUE(m_pg->exec(
        "postgres",
        QString(R"(ALTER ROLE %1 PASSWORD 'semi;colon "q"')").arg(PgCluster::secretUser)));
    EXPECT_NO_THROW(data::Connection::open(secret + R"(;Password='semi;colon "q"')"));
    EXPECT_TRUE(m_pg->exec(
        "postgres", QString("ALTER ROLE %1 PASSWORD '%2'").arg(PgCluster::secretUser, right)));
}

TEST_F(ServerConnection, ADatabaseWithoutTheBooksTablesIsRefused)
{
    QString why = failure(book(), err::Unspecified).description();
    EXPECT_TRUE(why.contains(m_database) && why.contains("not a Tovren address book")
                && why.contains("Address"))
        << why.toStdString();
    ASSERT_TRUE(m_pg->exec(m_database, R"(CREATE TABLE "Address" ("Name" text);)"
                                       R"(CREATE TABLE "Salutation" ("Salutation" text))"));
    why = failure(book(), err::Unspecified).description();
    EXPECT_TRUE(why.contains("no table Religion")) << why.toStdString();
}

// A role that may only read opens the book read-only, and a save is
// refused as such, the changes kept for another try.
TEST_F(ServerConnection, ARoleThatMayOnlyReadIsRefusedClearly)
{
    records::createServerBook(book());
    ASSERT_TRUE(m_pg->exec(
        m_database,
        QString("GRANT SELECT ON ALL TABLES IN SCHEMA public TO %1").arg(PgCluster::secretUser)));
    const QString reader = book(PgCluster::secretUser) + ";Password=" + PgCluster::secretPassword;
    EXPECT_TRUE(data::Connection::open(reader)->isReadOnly());
    data::Recordset rs;
    rs.setActiveConnection(reader);
    rs.Open(QStringLiteral("Salutation"));
    rs.setValue(u"Salutation", QStringLiteral("Sir"));
    const platform::RunTimeError error = raised([&] { rs.UpdateBatch(); });
    EXPECT_EQ(error.number(), err::ReadOnlyBook);
    EXPECT_TRUE(error.description().contains("read-only")) << error.description().toStdString();
    EXPECT_TRUE(rs.hasPendingChanges());
    EXPECT_EQ(rs.activeConnection()->Errors().Item(0).SQLState, QStringLiteral("42501"));
}

} // namespace
