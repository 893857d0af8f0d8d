// Opening the address book: only an existing Tovren database opens, and a
// failed open never creates, changes or locks a file.

#include "data/connection.h"
#include "data/connection_string.h"
#include "platform/error_numbers.h"
#include "platform/runtime_error.h"
#include "records/schema.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray digest(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "missing";
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

class OpenDatabase : public ::testing::Test {
protected:
    QString make(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QString tovrenDatabase(const QString& name = QStringLiteral("TND.dbx"))
    {
        const QString path = m_dir.filePath(name);
        records::createDatabase(path);
        return path;
    }
    // The description of the failure, which must carry the number callers test.
    QString failure(const QString& connectionString, qint32 number = platform::err::Unspecified)
    {
        try {
            data::Connection::open(connectionString, m_dir.path());
        } catch (const platform::RunTimeError& error) {
            EXPECT_EQ(error.number(), number) << error.description().toStdString();
            return error.description();
        }
        ADD_FAILURE() << "opened " << connectionString.toStdString();
        return QString();
    }

    QTemporaryDir m_dir;
};

TEST(ConnectionString, KeysAnyCaseQuotedValuesAndProviders)
{
    auto t = data::parseConnectionString(QStringLiteral(
        "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/a/TND.dbx;Persist Security Info=False"));
    EXPECT_EQ(t.provider, QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
    EXPECT_EQ(t.dataSource, QStringLiteral("/a/TND.dbx"));
    t = data::parseConnectionString(QStringLiteral("data  source = \"/x;y/b.dbx\";"));
    EXPECT_EQ(t.dataSource, QStringLiteral("/x;y/b.dbx"));
    EXPECT_TRUE(t.provider.isEmpty());
    EXPECT_TRUE(data::isEmbeddedProvider(QString()));
    EXPECT_TRUE(data::isEmbeddedProvider(QStringLiteral("microsoft.jet.oledb.4.0")));
    EXPECT_FALSE(data::isEmbeddedProvider(QStringLiteral("SQLOLEDB")));
}

TEST_F(OpenDatabase, ATovrenDatabaseOpensWithOrWithoutProvider)
{
    const QString path = tovrenDatabase();
    const QStringList cases = {QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=")
                                   + path + QStringLiteral(";Persist Security Info=False"),
                               QStringLiteral("Data Source=") + path + QLatin1Char(';'),
                               QStringLiteral("Data Source=TND.dbx;")};
    for (const QString& cs : cases) {
        auto connection = data::Connection::open(cs, m_dir.path());
        EXPECT_EQ(connection->ConnectionString(), cs);
        EXPECT_EQ(connection->filePath(), path);
        EXPECT_FALSE(connection->isReadOnly());
        QSqlQuery query(connection->database());
        ASSERT_TRUE(query.exec(QStringLiteral("SELECT COUNT(*) FROM Salutation")));
        ASSERT_TRUE(query.next());
        EXPECT_GT(query.value(0).toInt(), 0);
    }
}

TEST_F(OpenDatabase, UnusableFilesFailNamingTheFileAndStayUntouched)
{
    const QString empty = make(QStringLiteral("empty.dbx"), QByteArray());
    const QString text = make(QStringLiteral("text.dbx"), "this is not a database\n");
    QByteArray head;
    {
        const QString good = tovrenDatabase(QStringLiteral("good.dbx"));
        QFile file(good);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        head = file.read(1500);
    }
    const QString truncated = make(QStringLiteral("truncated.dbx"), head);
    const QString stranger = m_dir.filePath(QStringLiteral("stranger.dbx"));
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("stranger"));
        db.setDatabaseName(stranger);
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec(QStringLiteral("CREATE TABLE Address (x)"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("stranger"));

    for (const QString& path : {empty, text, truncated, stranger}) {
        const QByteArray before = digest(path);
        const QDateTime modified = QFileInfo(path).lastModified();
        const QString why = failure(QStringLiteral("Data Source=") + path);
        EXPECT_TRUE(why.contains(path)) << why.toStdString();
        EXPECT_EQ(digest(path), before) << path.toStdString();
        EXPECT_EQ(QFileInfo(path).lastModified(), modified);
    }
    EXPECT_TRUE(
        failure(QStringLiteral("Data Source=") + stranger).contains(QStringLiteral("Salutation")));
    // No journal or other file was left beside them.
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files).size(), 5);
}

TEST_F(OpenDatabase, MissingFilesAreNeverCreated)
{
    const QString missing = m_dir.filePath(QStringLiteral("nowhere/TND.dbx"));
    EXPECT_TRUE(failure(QStringLiteral("Data Source=") + missing).contains(missing));
    EXPECT_TRUE(failure(QStringLiteral("Data Source=absent.dbx"))
                    .contains(m_dir.filePath(QStringLiteral("absent.dbx"))));
    EXPECT_FALSE(failure(QString()).isEmpty());
    EXPECT_FALSE(
        failure(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False"))
            .isEmpty());
    EXPECT_FALSE(failure(QStringLiteral("Data Source=") + m_dir.path()).isEmpty());
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).size(),
              0);
    failure(QStringLiteral("Provider=SQLOLEDB;Data Source=x"), platform::err::ProviderNotFound);
}

TEST_F(OpenDatabase, PermissionBitsAreRespected)
{
    const QString path = tovrenDatabase();
    const QByteArray before = digest(path);

    ASSERT_TRUE(
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    {
        auto connection = data::Connection::open(QStringLiteral("Data Source=") + path);
        EXPECT_TRUE(connection->isReadOnly());
        QSqlQuery query(connection->database());
        EXPECT_FALSE(query.exec(QStringLiteral("DELETE FROM Salutation")));
    }
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::Permissions()));
    EXPECT_TRUE(
        failure(QStringLiteral("Data Source=") + path).contains(QStringLiteral("permission")));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(digest(path), before);
}

TEST_F(OpenDatabase, DriverErrorsAreCollectedForReports)
{
    auto connection = data::Connection::open(QStringLiteral("Data Source=") + tovrenDatabase());
    EXPECT_EQ(connection->Errors().Count(), 0);
    QSqlQuery query(connection->database());
    ASSERT_FALSE(query.exec(QStringLiteral("SELECT name FROM nowhere")));
    EXPECT_THROW(connection->fail(query.lastError(), platform::err::Unspecified,
                                  QStringLiteral("Reading failed")),
                 platform::RunTimeError);
    ASSERT_EQ(connection->Errors().Count(), 1);
    const Vostrel::DbError error = connection->Errors().Item(0);
    EXPECT_EQ(error.Number, platform::err::Unspecified);
    EXPECT_TRUE(error.Description.contains(QStringLiteral("nowhere")))
        << error.Description.toStdString();
    connection->Errors().Clear();
    EXPECT_EQ(connection->Errors().Count(), 0);
}

} // namespace
