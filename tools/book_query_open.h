#pragma once
// tovren-book query's own way into the address book. A mail program asks
// on every completion, so the query opens the file with SQLite alone,
// read-only: no driver plugin, no record layer. Only a book that opens
// cleanly and holds Tovren's tables is answered this way; any other file
// is left to the record layer's opening, which tells the trouble as it
// always has.

#include <QString>

#include <memory>

struct sqlite3;

namespace book_tool {

using QueryBook = std::unique_ptr<sqlite3, int (*)(sqlite3*)>;

// The book the connection string names, relative names taken from
// `baseFolder`; empty when the record layer must open it instead.
QueryBook openForQuery(const QString& connectionString, const QString& baseFolder);

} // namespace book_tool
