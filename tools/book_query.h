#pragma once
// tovren-book query: the answer a mail program's address query command
// gives (mutt's query_command): a first line of free text, then one line a
// match, "address<TAB>name<TAB>other info". Only contacts with an e-mail
// address can answer. Name, company and address are matched without
// regard to case or accents (see book_query_match.h).

#include <QString>

#include <cstdio>

struct sqlite3;

namespace data {
class Connection;
}

namespace book_tool {

// Writes the answer from the open book file `book` to `out`; kDone with
// matches, kNoMatch without.
int query(sqlite3* book, const QString& text, std::FILE* out);

// The same answer from a book on a server, read through the record
// layer's connection.
int query(data::Connection& book, const QString& text, std::FILE* out);

} // namespace book_tool
