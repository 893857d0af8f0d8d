#include "book_query_open.h"

#include "data/connection_string.h"
#include "data/tovren_database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <sys/stat.h>

namespace book_tool {
namespace {

// Whether the book has every table of a Tovren database, compared as the
// record layer compares them: without regard to case.
bool hasTovrenTables(sqlite3* db)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table'", -1,
                           &statement, nullptr)
        != SQLITE_OK)
        return false;
    QStringList found;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW)
        found << QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    return step == SQLITE_DONE
           && std::all_of(data::tovrenTables().begin(), data::tovrenTables().end(),
                          [&found](const QString& table) {
                              return found.contains(table, Qt::CaseInsensitive);
                          });
}

} // namespace

QueryBook openForQuery(const QString& connectionString, const QString& baseFolder)
{
    QueryBook book(nullptr, sqlite3_close);
    const data::ConnectionTarget target = data::parseConnectionString(connectionString);
    if (!data::isEmbeddedProvider(target.provider) || target.dataSource.isEmpty())
        return book;
    const QFileInfo info(baseFolder.isEmpty() ? QDir::currentPath() : baseFolder,
                         target.dataSource);
    const QByteArray path = QFile::encodeName(info.absoluteFilePath());
    // A file nobody may read is refused by the record layer even to the
    // administrator, whom SQLite would let in.
    struct stat st {};
    if (::stat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode)
        || (st.st_mode & (S_IRUSR | S_IRGRP | S_IROTH)) == 0)
        return book;
    sqlite3* db = nullptr;
    // One thread reads: no mutex around each call.
    const int opened =
        sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    book.reset(db); // closed even when it did not open
    if (opened != SQLITE_OK)
        return QueryBook(nullptr, sqlite3_close);
    // The pages are read in place rather than copied into SQLite's cache.
    sqlite3_exec(db, "PRAGMA mmap_size = 1073741824", nullptr, nullptr, nullptr);
    // One read transaction for the check and the query, so that no other
    // program's write comes between them. A book another program holds
    // fails the check at once: the record layer waits for it, and tells it.
    if (sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK || !hasTovrenTables(db))
        book.reset();
    return book;
}

} // namespace book_tool
