// Opening the address book: only an existing Tovren database opens, and a
// failed open never creates, changes or locks a file.

#include "data/connection.h"
#include "data/connection_string.h"
#include "platform/error_numbers.h"
#include "records/schema.h"
#include "support/test_helpers.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include "data/database_io.h"
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

// A file's bytes and time of change, to show it was left alone.
QByteArray fingerprint(const QString& path)
{
    return QCryptographicHash::hash(testing_support::readBytes(path), QCryptographicHash::Sha256)
           + QFileInfo(path).lastModified().toString(Qt::ISODateWithMs).toLatin1();
}

QString source(const QString& path)
{
    return QStringLiteral("Data Source=") + path;
}

class OpenDatabase : public ::testing::Test {
protected:
    QString make(const QString& name, const QByteArray& bytes)
    {
        EXPECT_TRUE(testing_support::writeBytes(m_dir.filePath(name), bytes));
        return m_dir.filePath(name);
    }
    QString tovrenDatabase(const QString& name = QStringLiteral("TND.dbx"))
    {
        records::createDatabase(m_dir.filePath(name));
        return m_dir.filePath(name);
    }
    // The description of the failure, which must carry the number callers test.
    QString failure(const QString& connectionString, qint32 number = platform::err::Unspecified)
    {
        const platform::RunTimeError error = testing_support::raised(
            [&] { data::Connection::open(connectionString, m_dir.path()); });
        EXPECT_EQ(error.number(), number)
            << connectionString.toStdString() << ": " << error.description().toStdString();
        return error.description();
    }

    QTemporaryDir m_dir;
};

TEST(ConnectionString, KeysAnyCaseQuotedValuesAndProviders)
{
    auto t = data::parseConnectionString(QStringLiteral(
        "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/a/TND.dbx;Persist Security Info=False"));
    EXPECT_EQ(t.provider + '|' + t.dataSource,
              QStringLiteral("Microsoft.Jet.OLEDB.4.0|/a/TND.dbx"));
    t = data::parseConnectionString(QStringLiteral("data  source = \"/x;y/b.dbx\";"));
    EXPECT_EQ(t.provider + '|' + t.dataSource, QStringLiteral("|/x;y/b.dbx"));
    EXPECT_TRUE(data::isEmbeddedProvider(QString()));
    EXPECT_TRUE(data::isEmbeddedProvider(QStringLiteral("microsoft.jet.oledb.4.0")));
    EXPECT_FALSE(data::isEmbeddedProvider(QStringLiteral("SQLOLEDB")));
}

TEST_F(OpenDatabase, ATovrenDatabaseOpensWithOrWithoutProvider)
{
    const QString path = tovrenDatabase();
    for (const QString& cs : QStringList{"Provider=Microsoft.Jet.OLEDB.4.0;" + source(path)
                                             + ";Persist Security Info=False",
                                         source(path) + ';', source("TND.dbx;")}) {
        auto connection = data::Connection::open(cs, m_dir.path());
        EXPECT_EQ(connection->ConnectionString(), cs);
        EXPECT_EQ(connection->location(), path);
        EXPECT_FALSE(connection->isReadOnly());
        const auto rows =
            connection->io().execute(QStringLiteral("SELECT COUNT(*) FROM Salutation"));
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_GT(rows[0][0].toInt(), 0);
    }
}

TEST_F(OpenDatabase, UnusableFilesFailNamingTheFileAndStayUntouched)
{
    QFile good(tovrenDatabase(QStringLiteral("good.dbx")));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QString stranger = m_dir.filePath(QStringLiteral("stranger.dbx")); // no Salutation
    sqlite3* db = nullptr;
    sqlite3_open(stranger.toUtf8().constData(), &db);
    sqlite3_exec(db, "CREATE TABLE Address (x)", nullptr, nullptr, nullptr);
    sqlite3_close(db);

    for (const QString& path :
         QStringList{make(QStringLiteral("empty.dbx"), QByteArray()),
                     make(QStringLiteral("text.dbx"), "this is not a database\n"),
                     make(QStringLiteral("truncated.dbx"), good.read(1500)), stranger}) {
        const QByteArray before = fingerprint(path);
        const QString why = failure(source(path));
        EXPECT_TRUE(why.contains(path)) << why.toStdString();
        EXPECT_EQ(fingerprint(path), before) << path.toStdString();
    }
    EXPECT_TRUE(failure(source(stranger)).contains(QStringLiteral("Salutation")));
    // No journal or other file was left beside them.
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files).size(), 5);
}

TEST_F(OpenDatabase, MissingFilesAreNeverCreated)
{
    const QString missing = m_dir.filePath(QStringLiteral("nowhere/TND.dbx"));
    // Each connection string, and what its failure names.
    const std::pair<QString, QString> cases[] = {
        {source(missing), missing},
        {source("absent.dbx"), m_dir.filePath(QStringLiteral("absent.dbx"))},
        {QString(), QString()},
        {"Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False", QString()},
        {source(m_dir.path()), QString()}};
    for (const auto& [cs, named] : cases) {
        const QString why = failure(cs);
        EXPECT_FALSE(why.isEmpty()) << cs.toStdString();
        EXPECT_TRUE(why.contains(named)) << why.toStdString();
    }
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).size(),
              0);
    failure(QStringLiteral("Provider=SQLOLEDB;Data Source=x"), platform::err::ProviderNotFound);
}

TEST_F(OpenDatabase, PermissionBitsAreRespected)
{
    const QString path = tovrenDatabase();
    const QByteArray before = fingerprint(path);
    ASSERT_TRUE(
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    {
        auto connection = data::Connection::open(source(path));
        EXPECT_TRUE(connection->isReadOnly());
        EXPECT_THROW(connection->io().execute(QStringLiteral("DELETE FROM Salutation")),
                     platform::RunTimeError);
    }
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::Permissions()));
    EXPECT_TRUE(failure(source(path)).contains(QStringLiteral("permission")));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(fingerprint(path), before);
}

} // namespace
