// The database a new address book starts with, and the one the build ships.

#include "records_fixture.h"

#include "data/connection.h"
#include "data/database_io.h"
#include "platform/runtime_error.h"

#include <QFile>
#include <QSqlRecord>

namespace {

using Schema = RecordsTest;

// The label query keeps every contact column by name (the card's filters
// apply to it unchanged) and adds the salutation's text, Null for a contact
// without one; no contact is left out.
TEST_F(Schema, TheLabelQueryKeepsEveryContactAndColumnAndAddsTheSalutation)
{
    const QSqlDatabase db = QSqlDatabase::database(kOther);
    const QSqlRecord address = db.record(QStringLiteral("Address"));
    const QSqlRecord label = db.record(QStringLiteral("qryLabel"));
    ASSERT_FALSE(address.isEmpty());
    for (int i = 0; i < address.count(); ++i)
        EXPECT_TRUE(label.contains(address.fieldName(i))) << address.fieldName(i).toStdString();

    exec("INSERT INTO Address (SalutationId, Name, PinCode) VALUES (2, 'Ada', '40001'),"
         " (NULL, 'Bo', NULL)");
    EXPECT_EQ(column("SELECT quote(Salutation) || ' ' || Name || ' ' || quote(PinCode) FROM "
                     "qryLabel ORDER BY Name"),
              (QStringList{"'Mrs.' Ada '40001'", "NULL Bo NULL"}));
}

TEST_F(Schema, AnExistingFileIsNeverWrittenOver)
{
    const auto bytes = [this] {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    exec("INSERT INTO Address (Name) VALUES ('Ada')");
    const QByteArray before = bytes();
    EXPECT_THROW(records::createDatabase(path()), platform::RunTimeError);
    EXPECT_EQ(bytes(), before);
    EXPECT_THROW(records::createDatabase(m_home.filePath(QStringLiteral("no/such/folder/TND.dbx"))),
                 platform::RunTimeError);
}

TEST_F(Schema, TheShippedAddressBookOpensWithPickLists)
{
    auto connection =
        data::Connection::open(QStringLiteral("Data Source=" TOVREN_BIN_DIR "/TND.dbx"));
    EXPECT_FALSE(
        connection->io().execute(QStringLiteral("SELECT Salutation FROM Salutation")).empty());
}

} // namespace
