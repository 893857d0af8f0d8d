#include "book_query.h"

#include "book_exit.h"

#include "data/connection.h"

#include <QSqlQuery>

#include <algorithm>
#include <vector>

namespace book_tool {

QString foldedForMatching(const QString& text)
{
    // Most names are plain ASCII, and decomposing them is the query's cost.
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
        return text.toLower();
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing)
            folded += c;
    }
    return folded.toCaseFolded();
}

int query(data::Connection& connection, const QString& text, std::FILE* out)
{
    // The few columns straight from the table: a mail program asks on every
    // completion, and reading whole rows into a recordset costs several times
    // as long on a large book.
    QSqlQuery rows(connection.database());
    rows.setForwardOnly(true);
    rows.exec(QStringLiteral("SELECT EmlAddr, Name, Company, City FROM Address "
                             "WHERE EmlAddr IS NOT NULL AND EmlAddr <> ''"));
    const QString wanted = foldedForMatching(text.trimmed());
    // The few matches are put in name order here: sorting the whole table
    // by name cost more than reading it.
    std::vector<std::pair<QString, QByteArray>> matches;
    while (rows.next()) {
        const QString email = rows.value(0).toString();
        const QString name = rows.value(1).toString();
        const QString company = rows.value(2).toString();
        if (!foldedForMatching(name).contains(wanted)
            && !foldedForMatching(company).contains(wanted)
            && !email.toCaseFolded().contains(wanted))
            continue;
        const QString other = company.isEmpty() ? rows.value(3).toString() : company;
        matches.emplace_back(
            name, (email + QLatin1Char('\t') + name + QLatin1Char('\t') + other).toUtf8() + '\n');
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
