#include "book_query.h"

#include "book_query_answer.h"

#include <sqlite3.h>

#include <memory>

namespace book_tool {

namespace {

QByteArrayView columnBytes(sqlite3_stmt* statement, int column)
{
    return QByteArrayView(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                          sqlite3_column_bytes(statement, column));
}

} // namespace

int query(sqlite3* book, const QString& text, std::FILE* out)
{
    // The few columns straight from SQLite: a mail program asks on every
    // completion, and rows of variants cost several times as long on a
    // large book as the bytes do.
    QueryAnswer answer(text);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(book, "SELECT EmlAddr, Name, Company, City FROM Address WHERE EmlAddr <> ''",
                       -1, &statement, nullptr);
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> finalize(statement,
                                                                         sqlite3_finalize);
    while (statement && sqlite3_step(statement) == SQLITE_ROW)
        answer.offer(columnBytes(statement, 0), columnBytes(statement, 1),
                     columnBytes(statement, 2), columnBytes(statement, 3));
    return answer.write(out);
}

} // namespace book_tool
