#include "bench_server.h"

#include "data/connection.h"
#include "data/connection_string.h"
#include "data/database_io.h"
#include "platform/profile_file.h"
#include "platform/runtime_error.h"
#include "records/server_book.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Drops the book's tables and label query from the database.
void dropServerBook(const QString& connectionString)
{
    try {
        const auto connection = data::Connection::open(connectionString);
        connection->io().execute(QStringLiteral("DROP VIEW \"qryLabel\""));
        connection->io().execute(
            QStringLiteral("DROP TABLE \"Address\", \"Salutation\", \"Religion\""));
    } catch (const platform::RunTimeError& error) {
        std::fprintf(stderr, "tovren-bench: the book was left on the server: %s\n",
                     qPrintable(error.description()));
    }
}

QString& copiedBook()
{
    static QString book;
    return book;
}

} // namespace

bool isServerBook(const QString& db)
{
    return data::isPostgresProvider(data::parseConnectionString(db).provider);
}

bool prepareServerBook(const QString& connectionString, const QString& path, const QString& home)
{
    try {
        records::createServerBook(connectionString, path);
    } catch (const platform::RunTimeError& error) {
        std::fprintf(stderr, "tovren-bench: %s\n", qPrintable(error.description()));
        return false;
    }
    // However the run ends, normally or by a failure, the next one finds
    // the database empty.
    copiedBook() = connectionString;
    std::atexit([] { dropServerBook(copiedBook()); });
    const QString ini = home + QStringLiteral("/Address.ini");
    for (const auto& [key, value] : data::parseConnectionString(connectionString).values)
        platform::writeProfileString(ini, QStringLiteral("DatabasePath"), key, value);
    return true;
}
