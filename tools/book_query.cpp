#include "book_query.h"

#include "book_exit.h"
#include "book_query_match.h"

#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace book_tool {

namespace {

QString columnText(sqlite3_stmt* statement, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                             sqlite3_column_bytes(statement, column));
}

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
    QueryMatch wanted(text.trimmed());
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(book, "SELECT EmlAddr, Name, Company, City FROM Address WHERE EmlAddr <> ''",
                       -1, &statement, nullptr);
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> finalize(statement,
                                                                         sqlite3_finalize);
    // The few matches are put in name order here: sorting the whole table
    // by name cost more than reading it.
    std::vector<std::pair<QString, QByteArray>> matches;
    while (statement && sqlite3_step(statement) == SQLITE_ROW) {
        if (!wanted.in(columnBytes(statement, 1)) && !wanted.in(columnBytes(statement, 2))
            && !wanted.in(columnBytes(statement, 0)))
            continue;
        const QString name = columnText(statement, 1);
        const QString company = columnText(statement, 2);
        const QString other = company.isEmpty() ? columnText(statement, 3) : company;
        matches.emplace_back(
            name, (columnText(statement, 0) + QLatin1Char('\t') + name + QLatin1Char('\t') + other)
                          .toUtf8()
                      + '\n');
    }
    if (matches.empty()) {
        std::fprintf(out, "No matches for '%s' in the Tovren address book.\n",
                     qUtf8Printable(text));
        return kNoMatch;
    }
    std::stable_sort(matches.begin(), matches.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::fprintf(out, "Tovren: %d %s for '%s'\n", int(matches.size()),
                 matches.size() == 1 ? "match" : "matches", qUtf8Printable(text));
    for (const auto& match : matches)
        std::fwrite(match.second.constData(), 1, size_t(match.second.size()), out);
    return kDone;
}

} // namespace book_tool
