#include "book_query_match.h"

#include <algorithm>
#include <array>

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

namespace {

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
}

// `bytes` in lower case into `lowered`; false when a byte is not ASCII.
// One pass without a branch a byte: every value of the book comes here.
bool lowerAscii(QByteArrayView bytes, std::string& lowered)
{
    lowered.resize(size_t(bytes.size()));
    char* out = lowered.data();
    uchar seen = 0;
    for (const char c : bytes) {
        seen |= uchar(c);
        *out++ = lower(c);
    }
    return seen < 0x80;
}

// The letters of the Latin blocks, below U+0250, folded one at a time.
// Decomposing, dropping marks and case folding all work letter by letter
// there, so a text of them folds as its letters do: the accented names of
// the European languages are folded from this table instead of being
// normalized one by one, which cost most of a query's time.
struct LatinFolds {
    static constexpr char16_t kEnd = 0x250;
    std::array<std::u16string, kEnd> folded;
    std::array<std::u16string, kEnd> caseFolded;

    LatinFolds()
    {
        for (char16_t c = 0x80; c < kEnd; ++c) {
            folded[c] = foldedForMatching(QString(QChar(c))).toStdU16String();
            caseFolded[c] = QString(QChar(c)).toCaseFolded().toStdU16String();
        }
    }
};

} // namespace

QueryMatch::QueryMatch(const QString& text) : m_wanted(foldedForMatching(text))
{
    const QByteArray bytes = m_wanted.toUtf8();
    std::string ascii;
    if (lowerAscii(bytes, ascii))
        m_ascii = ascii;
}

bool QueryMatch::in(QByteArrayView stored)
{
    // Plain ASCII, as most names and every address are, is matched on its
    // bytes; an ASCII text cannot hold letters that are not.
    if (lowerAscii(stored, m_lowered))
        return m_ascii && m_lowered.find(*m_ascii) != std::string::npos;
    bool latin = false;
    const bool found = inLatin(stored, latin);
    if (latin)
        return found;
    const QString text = QString::fromUtf8(stored);
    return foldedForMatching(text).contains(m_wanted) || text.toCaseFolded().contains(m_wanted);
}

// Sets `latin` when every character of the value is ASCII or a Latin
// letter of two UTF-8 bytes, and then tells whether it matches.
bool QueryMatch::inLatin(QByteArrayView stored, bool& latin)
{
    static const LatinFolds folds;
    m_folded.clear();
    m_caseFolded.clear();
    for (qsizetype i = 0; i < stored.size(); ++i) {
        const uchar lead = uchar(stored[i]);
        if (lead < 0x80) {
            m_folded += char16_t(lower(char(lead)));
            m_caseFolded += char16_t(lower(char(lead)));
            continue;
        }
        if ((lead & 0xE0) != 0xC0 || i + 1 == stored.size()
            || (uchar(stored[i + 1]) & 0xC0) != 0x80)
            return false;
        const char16_t c = char16_t((lead & 0x1F) << 6 | (uchar(stored[++i]) & 0x3F));
        if (c < 0x80 || c >= LatinFolds::kEnd)
            return false; // an overlong form or a letter past the table
        m_folded += folds.folded[c];
        m_caseFolded += folds.caseFolded[c];
    }
    latin = true;
    return QStringView(m_folded).contains(m_wanted) || QStringView(m_caseFolded).contains(m_wanted);
}

} // namespace book_tool
