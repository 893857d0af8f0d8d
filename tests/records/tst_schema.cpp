// The database a new address book starts with, and the one the build ships.

#include "data/connection.h"
#include "platform/runtime_error.h"
#include "records/schema.h"

#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QStringList columns(const QSqlDatabase& db, const QString& table)
{
    QStringList names;
    const QSqlRecord record = db.record(table);
    for (int i = 0; i < record.count(); ++i)
        names << record.fieldName(i);
    return names;
}

QStringList texts(const QSqlDatabase& db, const QString& table)
{
    QSqlQuery query(db);
    EXPECT_TRUE(query.exec(QStringLiteral("SELECT %1 FROM %1 ORDER BY %1Id").arg(table)));
    QStringList out;
    while (query.next())
        out << query.value(0).toString();
    return out;
}

TEST(Schema, TablesColumnsAndLabelQuery)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TND.dbx"));
    records::createDatabase(path);
    auto connection = data::Connection::open(QStringLiteral("Data Source=") + path);
    const QSqlDatabase db = connection->database();

    const QStringList address = {
        QStringLiteral("AddressId"),  QStringLiteral("SalutationId"), QStringLiteral("Name"),
        QStringLiteral("Company"),    QStringLiteral("ReligionId"),   QStringLiteral("Address1"),
        QStringLiteral("Address2"),   QStringLiteral("Address3"),     QStringLiteral("City"),
        QStringLiteral("PinCode"),    QStringLiteral("State"),        QStringLiteral("Country"),
        QStringLiteral("PhOff1"),     QStringLiteral("PhOff2"),       QStringLiteral("PhExt"),
        QStringLiteral("PhFax"),      QStringLiteral("PhRes1"),       QStringLiteral("PhRes2"),
        QStringLiteral("PhCell"),     QStringLiteral("PhPager"),      QStringLiteral("DtBirth"),
        QStringLiteral("DtMarriage"), QStringLiteral("DtJoining"),    QStringLiteral("EmlAddr")};
    EXPECT_EQ(columns(db, QStringLiteral("Address")), address);
    EXPECT_EQ(columns(db, QStringLiteral("Salutation")),
              (QStringList{QStringLiteral("SalutationId"), QStringLiteral("Salutation")}));
    EXPECT_EQ(columns(db, QStringLiteral("Religion")),
              (QStringList{QStringLiteral("ReligionId"), QStringLiteral("Religion")}));

    // The label query keeps every Address column name (the card's filters
    // apply to it unchanged) and adds the salutation's text.
    const QStringList label = columns(db, QStringLiteral("qryLabel"));
    for (const QString& column : address)
        EXPECT_TRUE(label.contains(column, Qt::CaseInsensitive)) << column.toStdString();
    EXPECT_TRUE(label.contains(QStringLiteral("Salutation")));

    QSqlQuery query(db);
    ASSERT_TRUE(query.exec(QStringLiteral(
        "INSERT INTO Address (SalutationId, Name, PinCode) VALUES (2, 'Ada', '40001')")));
    ASSERT_TRUE(query.exec(QStringLiteral("INSERT INTO Address (Name) VALUES ('Bo')")));
    ASSERT_TRUE(query.exec(
        QStringLiteral("SELECT Salutation, Name, Pincode FROM qryLabel WHERE NAME = 'Ada'")));
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toString(), QStringLiteral("Mrs."));
    EXPECT_EQ(query.value(2).toString(), QStringLiteral("40001"));
    ASSERT_TRUE(query.exec(QStringLiteral("SELECT Salutation FROM qryLabel WHERE Name = 'Bo'")));
    ASSERT_TRUE(query.next());
    EXPECT_TRUE(query.value(0).isNull());

    // New rows get generated keys; the pick lists keep to their lengths.
    ASSERT_TRUE(query.exec(QStringLiteral("SELECT AddressId FROM Address ORDER BY AddressId")));
    ASSERT_TRUE(query.next());
    const int first = query.value(0).toInt();
    ASSERT_TRUE(query.next());
    EXPECT_GT(query.value(0).toInt(), first);
    for (const QString& s : texts(db, QStringLiteral("Salutation")))
        EXPECT_LE(s.size(), 6);
    for (const QString& r : texts(db, QStringLiteral("Religion")))
        EXPECT_LE(r.size(), 15);
    EXPECT_FALSE(texts(db, QStringLiteral("Religion")).isEmpty());
}

TEST(Schema, AnExistingFileIsNeverWrittenOver)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TND.dbx"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("precious");
    }
    EXPECT_THROW(records::createDatabase(path), platform::RunTimeError);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("precious"));

    EXPECT_THROW(records::createDatabase(dir.filePath(QStringLiteral("no/such/folder/TND.dbx"))),
                 platform::RunTimeError);
}

TEST(Schema, TheShippedAddressBookOpensWithPickLists)
{
    auto connection =
        data::Connection::open(QStringLiteral("Data Source=" TOVREN_BIN_DIR "/TND.dbx"));
    EXPECT_FALSE(texts(connection->database(), QStringLiteral("Salutation")).isEmpty());
}

} // namespace
