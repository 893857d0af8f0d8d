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
    // The form before the folded one (case and accents set aside), without
    // the separator: what a typed word is compared with.
    QStringView stripped() const
    {
        return foldedStart > 0 ? whole().first(foldedStart - 1) : whole();
    }
};

// Appends the key of `text` to `out`; returns where its folded form begins,
// relative to the start of the appended key.
qsizetype appendTextKey(QStringView text, std::vector<char16_t>& out);

TextKey textKey(QStringView text);

// A stored text's key as the row store hands it out. Plain ASCII text,
// kept a byte a character, is its own key once its capitals are read as
// small letters, so it is compared in place and nothing is built for it;
// any other text has its key stored beside it.
class KeyView {
public:
    KeyView() = default;
    // A key: its characters as they stand.
    KeyView(QStringView chars) : m_wide(chars.utf16()), m_size(chars.size()) {}
    // Plain ASCII text read as its key.
    static KeyView ascii(const char* chars, qsizetype size)
    {
        KeyView view;
        view.m_narrow = chars;
        view.m_size = size;
        return view;
    }

    qsizetype size() const { return m_size; }
    char16_t at(qsizetype i) const
    {
        if (!m_narrow)
            return m_wide[i];
        const auto c = char16_t(static_cast<unsigned char>(m_narrow[i]));
        return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
    }
    KeyView mid(qsizetype from) const
    {
        KeyView view = *this;
        if (m_narrow)
            view.m_narrow += from;
        else
            view.m_wide += from;
        view.m_size -= from;
        return view;
    }
    KeyView first(qsizetype size) const
    {
        KeyView view = *this;
        view.m_size = size;
        return view;
    }
    // The characters of a key (null for ASCII text read in place).
    const char16_t* wide() const { return m_wide; }
    const char* narrow() const { return m_narrow; }

private:
    const char16_t* m_wide = nullptr;
    const char* m_narrow = nullptr;
    qsizetype m_size = 0;
};

// Orders two keys code unit by code unit: below, at or above 0.
int compareKeys(KeyView a, KeyView b);
bool startsWith(KeyView key, QStringView prefix);
bool contains(KeyView key, QStringView part);

} // namespace data
