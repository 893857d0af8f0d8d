#include "text_key.h"

#include <QString>

#include <algorithm>
#include <array>
#include <type_traits>

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

// Orders the first `size` characters of two keys, then their lengths.
// Equal code units are equal key characters: only where they differ is a
// capital of ASCII text read in place looked at.
template <typename A, typename B>
int compareRuns(KeyView a, const A* left, KeyView b, const B* right)
{
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0;; ++i) {
        i = std::mismatch(left + i, left + common, right + i,
                          [](A x, B y) {
                              return char16_t(std::make_unsigned_t<A>(x))
                                     == char16_t(std::make_unsigned_t<B>(y));
                          })
                .first
            - left;
        if (i == common)
            break;
        if (a.at(i) != b.at(i))
            return a.at(i) < b.at(i) ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

} // namespace

int compareKeys(KeyView a, KeyView b)
{
    if (a.wide() && b.wide())
        return QStringView(a.wide(), a.size()).compare(QStringView(b.wide(), b.size()));
    if (a.narrow() && b.narrow())
        return compareRuns(a, a.narrow(), b, b.narrow());
    return a.narrow() ? compareRuns(a, a.narrow(), b, b.wide())
                      : compareRuns(a, a.wide(), b, b.narrow());
}

bool startsWith(KeyView key, QStringView prefix)
{
    return key.size() >= prefix.size() && compareKeys(key.first(prefix.size()), prefix) == 0;
}

bool contains(KeyView key, QStringView part)
{
    if (key.wide())
        return QStringView(key.wide(), key.size()).contains(part, Qt::CaseSensitive);
    for (qsizetype from = 0; from + part.size() <= key.size(); ++from) {
        if (startsWith(key.mid(from), part))
            return true;
    }
    return false;
}

} // namespace data
