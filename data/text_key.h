#pragma once
// Comparison keys for text: how the recordset compares, sorts and matches
// texts without regard to letter case, for every script.
//
// A key is the text case-folded, with accents stripped so that "Émile" sorts
// among the E's; a text whose case-folded form is not plain ASCII carries
// that form (accents kept) after a U+0001 separator, so that equal keys mean
// equal texts apart from case, and texts equal apart from case have equal
// keys. Keys compare code unit by code unit.

#include <QStringView>

#include <vector>

namespace data {

struct TextKey {
    std::vector<char16_t> chars;
    qsizetype foldedStart = 0; // where the case-folded form begins

    QStringView whole() const { return QStringView(chars.data(), qsizetype(chars.size())); }
    QStringView folded() const { return whole().mid(foldedStart); }
};

// Appends the key of `text` to `out`; returns where its folded form begins,
// relative to the start of the appended key.
qsizetype appendTextKey(QStringView text, std::vector<char16_t>& out);

TextKey textKey(QStringView text);

// Orders two keys code unit by code unit: below, at or above 0.
inline int compareKeys(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseSensitive);
}

} // namespace data
