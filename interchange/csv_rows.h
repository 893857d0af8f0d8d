#pragma once
// The rows of CSV text, one by one, in one pass.

#include <QStringList>

namespace interchange {

class CsvRows {
public:
    // Rows whose text runs past `longest` characters keep only their start.
    CsvRows(QStringView text, qsizetype longest);

    // The next row into `cells`; false at the end of the text.
    bool next(QStringList& cells);
    // The row `next` gave last: where it began, whether it ran past the
    // longest and whether a quoted cell ran to the end of the text.
    qsizetype row() const { return m_row; }
    bool tooLong() const { return m_tooLong; }
    bool unclosedQuote() const { return m_unclosedQuote; }
    // How far into the text the rows read so far reach, in characters.
    qsizetype position() const { return m_at; }

private:
    QStringView m_text;
    qsizetype m_longest;
    qsizetype m_at = 0;
    QChar m_delimiter;
    qsizetype m_row = 0;
    bool m_tooLong = false;
    bool m_unclosedQuote = false;
};

} // namespace interchange
