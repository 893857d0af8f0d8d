#include "csv_rows.h"

namespace interchange {
namespace {

// The delimiter the first row uses most, outside quotes; a comma when it
// uses none.
QChar findDelimiter(QStringView text)
{
    int commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == QLatin1Char('\n'))
            break;
        else if (c == QLatin1Char(','))
            ++commas;
        else if (c == QLatin1Char(';'))
            ++semicolons;
        else if (c == QLatin1Char('\t'))
            ++tabs;
    }
    if (tabs > commas && tabs >= semicolons)
        return QLatin1Char('\t');
    if (semicolons > commas)
        return QLatin1Char(';');
    return QLatin1Char(',');
}

} // namespace

CsvRows::CsvRows(QStringView text, qsizetype longest)
    : m_text(text), m_longest(longest), m_delimiter(findDelimiter(text))
{}

bool CsvRows::next(QStringList& cells)
{
    cells.clear();
    if (m_at >= m_text.size())
        return false;
    ++m_row;
    m_tooLong = false;
    m_unclosedQuote = false;
    const qsizetype rowStart = m_at;
    QString cell;
    bool quoted = false;
    bool wasQuoted = false;
    const auto endCell = [&] {
        cells << cell;
        cell.clear();
        wasQuoted = false;
    };
    while (m_at < m_text.size()) {
        const QChar c = m_text[m_at++];
        if (m_at - rowStart > m_longest) {
            m_tooLong = true;
            // Skip to the end of the row without keeping more.
            if (!quoted && c == QLatin1Char('\n'))
                break;
            if (c == QLatin1Char('"'))
                quoted = !quoted;
            continue;
        }
        if (quoted) {
            // A quoted cell keeps its line breaks as they are, CR LF or not.
            if (c != QLatin1Char('"')) {
                cell += c;
            } else if (m_at < m_text.size() && m_text[m_at] == QLatin1Char('"')) {
                cell += c;
                ++m_at;
            } else {
                quoted = false;
            }
        } else if (c == QLatin1Char('"') && cell.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == m_delimiter) {
            endCell();
        } else if (c == QLatin1Char('\n')) {
            break;
        } else if (c == QLatin1Char('\r')
                   && (m_at == m_text.size() || m_text[m_at] == QLatin1Char('\n'))) {
            continue;
        } else {
            cell += c;
        }
    }
    m_unclosedQuote = quoted;
    endCell();
    return true;
}

} // namespace interchange
