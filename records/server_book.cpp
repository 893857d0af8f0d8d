#include "server_book.h"

#include "schema_statements.h"

#include "data/connection.h"
#include "data/database_io.h"
#include "data/transaction.h"

namespace records {
namespace {

// Rows go to the server a few hundred at a time: one statement per row
// would spend the copy waiting for the server's answers.
constexpr int kRowsPerStatement = 200;

// Copies every row of `table`, keys included, and moves the table's key
// generator past the highest key copied. Returns the rows copied.
int copyTable(data::Connection& from, data::DatabaseIo& to, const BookTable& table)
{
    const data::LoadedRows loaded = from.io().readRows(QLatin1String(table.name));
    const data::RecordStore& store = loaded.store;
    QStringList names;
    for (const data::ColumnInfo& column : store.columns())
        names << data::quotedName(column.name);
    const QString row = QLatin1Char('(') + QStringList(names.size(), QStringLiteral("?")).join(u',')
                        + QLatin1Char(')');
    for (int first = 0; first < store.rowCount(); first += kRowsPerStatement) {
        const int last = std::min(store.rowCount(), first + kRowsPerStatement);
        QVariantList values;
        for (int r = first; r < last; ++r) {
            for (int c = 0; c < store.columnCount(); ++c)
                values << store.value(r, c);
        }
        to.execute(QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                       .arg(data::quotedName(QLatin1String(table.name)), names.join(u','),
                            QStringList(last - first, row).join(u',')),
                   values);
    }
    to.execute(QStringLiteral("SELECT setval(pg_get_serial_sequence(?, ?),"
                              " COALESCE((SELECT max(%2) FROM %1), 0) + 1, false)")
                   .arg(data::quotedName(QLatin1String(table.name)),
                        data::quotedName(QLatin1String(table.key))),
               {data::quotedName(QLatin1String(table.name)), QLatin1String(table.key)});
    return store.rowCount();
}

} // namespace

int createServerBook(const QString& connectionString, const QString& copyFrom)
{
    // The file is opened first: a file that cannot be read changes nothing.
    const std::shared_ptr<data::Connection> source =
        copyFrom.isEmpty()
            ? nullptr
            : data::Connection::open(QStringLiteral("Data Source=\"%1\"").arg(copyFrom));
    const std::shared_ptr<data::Connection> target = data::Connection::openEmpty(connectionString);
    data::DatabaseIo& io = target->io();
    data::Transaction transaction(target);
    for (const QString& statement : schemaStatements(Dialect::Server, !source))
        io.execute(statement);
    int contacts = 0;
    if (source) {
        for (const BookTable& table : kBookTables)
            contacts = copyTable(*source, io, table); // the addresses come last
    }
    transaction.commit();
    return contacts;
}

} // namespace records
