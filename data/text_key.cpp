#include "text_key.h"

#include <QString>

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
        if (c.category() != QChar::Mark_NonSpacing && c.category() != QChar::Mark_SpacingCombining
            && c.category() != QChar::Mark_Enclosing)
            out.push_back(c.unicode());
    }
    out.push_back(u'\u0001');
    const qsizetype foldedStart = qsizetype(out.size() - begin);
    for (const QChar c : folded)
        out.push_back(c.unicode());
    return foldedStart;
}

TextKey textKey(QStringView text)
{
    TextKey key;
    key.foldedStart = appendTextKey(text, key.chars);
    return key;
}

} // namespace data
