// Making an address book on a PostgreSQL server, in code and with
// tovren-mkdb: a copy of a book file holds exactly its rows, keys and all,
// and new keys follow the copied ones; a database that already holds a
// book, or a file that cannot be read, leaves everything as it was.

#include "data/connection.h"
#include "data/database_io.h"
#include "platform/error_numbers.h"
#include "records/address.h"
#include "records/schema.h"
#include "records/schema_statements.h"
#include "records/server_book.h"
#include "support/pg_cluster.h"
#include "support/test_helpers.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using records::Address;
using Fld = records::Address::Fld;
using testing_support::raised;

class ServerBook : public testing_support::PgDatabaseTest {
protected:
    QString server() const { return m_pg->connectionString(m_database); }

    // A book file with keys that have gaps: one contact with every column
    // set, one with a name in several scripts and nothing else, one with an
    // empty name; a salutation added and a religion deleted.
    QString bookFile()
    {
        const QString path = m_dir.filePath(QStringLiteral("TND.dbx"));
        records::createDatabase(path);
        const auto book = data::Connection::open("Data Source=" + path);
        data::DatabaseIo& io = book->io();
        QStringList columns;
        QVariantList values;
        for (int f = 0; f < int(Fld::Count); ++f) {
            const auto field = Fld(f);
            columns << QString("\"%1\"").arg(Address::column(field));
            values << (field == Fld::SalutationId || field == Fld::ReligionId ? QVariant(f + 1)
                       : Address::isDate(field)
                           ? QVariant(QString("19%1-02-28").arg(f + 10))
                           : QVariant(QString("\u00e9'; %1").arg(f).left(Address::width(field))));
        }
        io.execute(QString(R"(INSERT INTO "Address" (%1) VALUES (%2))")
                       .arg(columns.join(','), QStringList(columns.size(), "?").join(',')),
                   values);
        for (const QString& name :
             {QString("\u0414\u043c\u0438\u0442\u0440\u0438\u0439 \u674e \U0001F642"),
              QString("deleted"), QString()})
            io.execute(R"(INSERT INTO "Address" ("Name") VALUES (?))", {name});
        io.execute(R"(DELETE FROM "Address" WHERE "Name" = 'deleted')");
        io.execute(R"(INSERT INTO "Salutation" ("Salutation") VALUES ('Sir'))");
        io.execute(R"(DELETE FROM "Religion" WHERE "Religion" = 'Jain')");
        return path;
    }

    // Every row of every table of the book, keys included, in key order.
    static std::vector<std::string> rowsOf(const QString& connectionString)
    {
        const auto book = data::Connection::open(connectionString);
        data::DatabaseIo& io = book->io();
        std::vector<std::string> rows;
        for (const records::BookTable& table : records::kBookTables) {
            for (const QVariantList& row : io.execute(
                     QString(R"(SELECT * FROM "%1" ORDER BY "%2")").arg(table.name, table.key))) {
                QStringList values{table.name};
                for (const QVariant& value : row)
                    values << (value.isValid() ? value.toString() : "<null>");
                rows.push_back(values.join('|').toStdString());
            }
        }
        return rows;
    }

    QTemporaryDir m_dir;
};

TEST_F(ServerBook, ACopyHoldsEveryRowAndNewKeysFollowTheCopiedOnes)
{
    const QString file = bookFile();
    EXPECT_EQ(records::createServerBook(server(), file), 3);
    const std::vector<std::string> copied = rowsOf(server());
    EXPECT_EQ(copied, rowsOf("Data Source=" + file));
    EXPECT_EQ(copied.size(), 9u + 8u + 3u);

    const auto book = data::Connection::open(server());
    data::DatabaseIo& io = book->io();
    for (const records::BookTable& table : records::kBookTables) {
        const qint64 highest =
            io.execute(QString(R"(SELECT max("%2") FROM "%1")").arg(table.name, table.key))[0][0]
                .toLongLong();
        const qint64 added = io.execute(QString(R"(INSERT INTO "%1" DEFAULT VALUES RETURNING "%2")")
                                            .arg(table.name, table.key))[0][0]
                                 .toLongLong();
        EXPECT_GT(added, highest) << table.name;
    }
}

TEST_F(ServerBook, ASecondRunOrAFileThatCannotBeReadChangesNothing)
{
    const QString file = bookFile();
    records::createServerBook(server());
    const std::vector<std::string> made = rowsOf(server());
    EXPECT_EQ(made.size(), 8u + 9u);
    const platform::RunTimeError again = raised([&] { records::createServerBook(server(), file); });
    EXPECT_EQ(again.number(), platform::err::Unspecified);
    EXPECT_TRUE(again.description().contains("already holds an address book"))
        << again.description().toStdString();
    EXPECT_EQ(rowsOf(server()), made);

    const QString empty = m_pg->createDatabase();
    const QString missing = m_dir.filePath("missing.dbx");
    const platform::RunTimeError unread =
        raised([&] { records::createServerBook(m_pg->connectionString(empty), missing); });
    EXPECT_TRUE(unread.description().contains(missing)) << unread.description().toStdString();
    // Still empty: a book can be made in it.
    EXPECT_NO_THROW(records::createServerBook(m_pg->connectionString(empty)));
}

// The tool's exit codes: 0 done, 1 failed (said on stderr, no password
// shown), 2 not called as it should be.
TEST_F(ServerBook, MkdbSaysHowItEnded)
{
    const QString file = bookFile();
    const QString missing = m_dir.filePath("missing.dbx");
    const QString other = m_pg->connectionString(m_pg->createDatabase());
    const QString wrongLogin =
        m_pg->connectionString(m_database, testing_support::PgCluster::secretUser)
        + ";Password=not-the-password";
    const struct {
        QStringList arguments;
        int exitCode;
        QString output; // a part of what it writes, stdout then stderr
    } runs[] = {
        {{server(), "--copy", file}, 0, "tovren-mkdb: copied 3 contacts from " + file},
        {{server()}, 1, "tovren-mkdb: The database " + m_database},
        {{other, "--copy", missing}, 1, missing},
        {{wrongLogin}, 1, "could not be opened"},
        {{m_dir.filePath("new.dbx")}, 0, QString()},
        {{file, file}, 2, "usage: tovren-mkdb"},
        {{server(), "--copy"}, 2, "usage:"},
        {{server(), "--cpy", file}, 2, "usage:"},
        {{file, "--copy", file}, 2, "usage:"},
    };
    for (const auto& run : runs) {
        QProcess mkdb;
        mkdb.start(QStringLiteral(TOVREN_BIN_DIR "/tovren-mkdb"), run.arguments);
        ASSERT_TRUE(mkdb.waitForFinished(60000));
        const QString output = QString::fromUtf8(mkdb.readAllStandardOutput())
                               + QString::fromUtf8(mkdb.readAllStandardError());
        EXPECT_EQ(mkdb.exitCode(), run.exitCode) << output.toStdString();
        EXPECT_TRUE(output.contains(run.output)) << output.toStdString();
        EXPECT_FALSE(output.contains("not-the-password")) << output.toStdString();
    }
    EXPECT_TRUE(QFile::exists(m_dir.filePath("new.dbx")));
    EXPECT_EQ(rowsOf(server()), rowsOf("Data Source=" + file));
}

} // namespace
