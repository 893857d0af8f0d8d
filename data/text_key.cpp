#include "text_key.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cstring>

namespace data {

namespace {

bool isAscii(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

bool isMark(QChar c)
{
    return c.category() == QChar::Mark_NonSpacing || c.category() == QChar::Mark_SpacingCombining
           || c.category() == QChar::Mark_Enclosing;
}

} // namespace

namespace {

// The key of any text: folded by the case tables, then stripped of its
// accents by decomposing it.
qsizetype appendFoldedKey(QStringView text, std::vector<char16_t>& out)
{
    // Lower, upper, then lower case again folds fully: "Straße", "STRASSE"
    // and "STRAẞE" meet as "strasse" (the capital sharp s must first become
    // the small one, whose capitals are "SS"), and both Greek sigmas as one.
    const QString folded = text.toString().toLower().toUpper().toLower();
    // A text that folds to plain ASCII ("Straße", "ıpek") keys as that ASCII
    // text does; with a folded form after it, it would sort after a text it
    // equals.
    if (isAscii(folded)) {
        out.insert(out.end(), folded.utf16(), folded.utf16() + folded.size());
        return 0;
    }
    const QString decomposed = folded.normalized(QString::NormalizationForm_KD);
    const size_t begin = out.size();
    for (const QChar c : decomposed) {
        if (!isMark(c))
            out.push_back(c.unicode());
    }
    out.push_back(u'\u0001');
    const qsizetype foldedStart = qsizetype(out.size() - begin);
    for (const QChar c : folded)
        out.push_back(c.unicode());
    return foldedStart;
}

// The folded and the stripped form of each Latin-1 character. Within
// Latin-1 neither folding nor decomposing looks at a character's
// neighbours, so a text's forms are its characters' forms put together:
// the accented names of a large book are keyed without the case tables.
struct Latin1Forms {
    std::array<QString, 256> folded;
    std::array<QString, 256> stripped;

    Latin1Forms()
    {
        for (char16_t c = 0; c < 256; ++c) {
            folded[c] = QString(QChar(c)).toLower().toUpper().toLower();
            const QString decomposed = folded[c].normalized(QString::NormalizationForm_KD);
            for (const QChar d : decomposed) {
                if (!isMark(d))
                    stripped[c] += d;
            }
        }
    }
};

qsizetype appendLatin1Key(QStringView text, std::vector<char16_t>& out)
{
    static const Latin1Forms forms;
    const size_t begin = out.size();
    bool asciiFolded = true;
    for (const QChar c : text) {
        const QString& folded = forms.folded[c.unicode()];
        asciiFolded = asciiFolded && isAscii(folded);
        out.insert(out.end(), folded.utf16(), folded.utf16() + folded.size());
    }
    if (asciiFolded)
        return 0;
    out.resize(begin);
    for (const QChar c : text) {
        const QString& stripped = forms.stripped[c.unicode()];
        out.insert(out.end(), stripped.utf16(), stripped.utf16() + stripped.size());
    }
    out.push_back(u'\u0001');
    const qsizetype foldedStart = qsizetype(out.size() - begin);
    for (const QChar c : text) {
        const QString& folded = forms.folded[c.unicode()];
        out.insert(out.end(), folded.utf16(), folded.utf16() + folded.size());
    }
    return foldedStart;
}

} // namespace

qsizetype appendTextKey(QStringView text, std::vector<char16_t>& out)
{
    if (isAscii(text)) {
        // The common case, without any allocation.
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            out.push_back(u >= 'A' && u <= 'Z' ? char16_t(u + ('a' - 'A')) : u);
        }
        return 0;
    }
    const bool latin1 =
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x100; });
    return latin1 ? appendLatin1Key(text, out) : appendFoldedKey(text, out);
}

TextKey textKey(QStringView text)
{
    TextKey key;
    key.foldedStart = appendTextKey(text, key.chars);
    return key;
}

namespace {

// A key character: ASCII text read in place has its capitals read as small
// letters; a stored key's characters stand as they are.
inline char16_t unit(char c)
{
    const auto u = char16_t(static_cast<unsigned char>(c));
    return u >= u'A' && u <= u'Z' ? char16_t(u + (u'a' - u'A')) : u;
}
inline char16_t unit(char16_t c)
{
    return c;
}

// Orders two runs of key characters, then their lengths.
template <typename A, typename B>
int compareRuns(const A* a, qsizetype aSize, const B* b, qsizetype bSize)
{
    const qsizetype common = std::min(aSize, bSize);
    for (qsizetype i = 0; i < common; ++i) {
        const char16_t x = unit(a[i]);
        const char16_t y = unit(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return aSize < bSize ? -1 : aSize > bSize ? 1 : 0;
}

} // namespace

int compareKeys(KeyView a, KeyView b)
{
    if (a.wide() && b.wide())
        return QStringView(a.wide(), a.size()).compare(QStringView(b.wide(), b.size()));
    if (a.narrow() && b.narrow()) {
        // Equal texts, the common tie in a sort, are told at once.
        if (a.size() == b.size() && std::memcmp(a.narrow(), b.narrow(), size_t(a.size())) == 0)
            return 0;
        return compareRuns(a.narrow(), a.size(), b.narrow(), b.size());
    }
    return a.narrow() ? compareRuns(a.narrow(), a.size(), b.wide(), b.size())
                      : compareRuns(a.wide(), a.size(), b.narrow(), b.size());
}

bool startsWith(KeyView key, QStringView prefix)
{
    const qsizetype size = prefix.size();
    if (key.size() < size)
        return false;
    return key.narrow() ? compareRuns(key.narrow(), size, prefix.utf16(), size) == 0
                        : QStringView(key.wide(), size) == prefix;
}

bool contains(KeyView key, QStringView part)
{
    if (key.wide())
        return QStringView(key.wide(), key.size()).contains(part, Qt::CaseSensitive);
    if (part.isEmpty())
        return true;
    // ASCII text holds only ASCII: a part with anything else is not in it.
    if (!isAscii(part))
        return false;
    // Where the part's first letter stands, in either case, the rest is
    // compared.
    const char first = char(part[0].unicode());
    const char capital = first >= 'a' && first <= 'z' ? char(first - ('a' - 'A')) : first;
    const char* const text = key.narrow();
    for (qsizetype at = 0; at + part.size() <= key.size(); ++at) {
        if ((text[at] == first || text[at] == capital)
            && compareRuns(text + at + 1, part.size() - 1, part.utf16() + 1, part.size() - 1) == 0)
            return true;
    }
    return false;
}

} // namespace data
