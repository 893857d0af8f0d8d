#pragma once
// The answer of tovren-book query, gathered from whichever book the
// contacts come from: the ones that match, put in name order, with the
// first line a mail program shows.

#include "book_exit.h"
#include "book_query_match.h"
#include "book_single_line.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

namespace book_tool {

// The contacts that match, gathered as they are offered, and the answer.
class QueryAnswer {
public:
    // The text is shown on the first line as one line too.
    explicit QueryAnswer(const QString& text) : m_text(singleLine(text)), m_wanted(text.trimmed())
    {}

    // One contact that can answer, its values as UTF-8.
    void offer(QByteArrayView email, QByteArrayView name, QByteArrayView company,
               QByteArrayView city)
    {
        if (!m_wanted.in(name) && !m_wanted.in(company) && !m_wanted.in(email))
            return;
        const QString nameText = QString::fromUtf8(name);
        const QByteArrayView other = company.isEmpty() ? city : company;
        m_matches.emplace_back(nameText,
                               field(email) + '\t' + singleLine(nameText).toUtf8() + '\t'
                                   + field(other) + '\n');
    }

    int write(std::FILE* out)
    {
        if (m_matches.empty()) {
            std::fprintf(out, "No matches for '%s' in the Tovren address book.\n",
                         qUtf8Printable(m_text));
            return kNoMatch;
        }
        // The few matches are put in name order here: sorting the whole
        // table by name cost more than reading it.
        std::stable_sort(m_matches.begin(), m_matches.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::fprintf(out, "Tovren: %d %s for '%s'\n", int(m_matches.size()),
                     m_matches.size() == 1 ? "match" : "matches", qUtf8Printable(m_text));
        for (const auto& match : m_matches)
            std::fwrite(match.second.constData(), 1, size_t(match.second.size()), out);
        return kDone;
    }

private:
    static QByteArray field(QByteArrayView value)
    {
        return singleLine(QString::fromUtf8(value)).toUtf8();
    }

    QString m_text;
    QueryMatch m_wanted;
    std::vector<std::pair<QString, QByteArray>> m_matches;
};

} // namespace book_tool
