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

// A stored text's key as the row store hands it out. Plain ASCII text is
// its own key once its capitals are read as small letters, so it is
// compared in place and nothing is built for it; any other text has its
// key stored beside it.
class KeyView {
public:
    KeyView() = default;
    KeyView(QStringView chars, bool lowerAscii = false) : m_chars(chars), m_lower(lowerAscii) {}

    qsizetype size() const { return m_chars.size(); }
    char16_t at(qsizetype i) const
    {
        const char16_t c = m_chars[i].unicode();
        return m_lower && c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
    }
    // Whether the characters are read as they stand.
    bool exact() const { return !m_lower; }
    QStringView chars() const { return m_chars; }
    KeyView mid(qsizetype from) const { return KeyView(m_chars.mid(from), m_lower); }

private:
    QStringView m_chars;
    bool m_lower = false;
};

// Orders two keys code unit by code unit: below, at or above 0.
int compareKeys(KeyView a, KeyView b);
bool startsWith(KeyView key, QStringView prefix);
bool contains(KeyView key, QStringView part);

} // namespace data
