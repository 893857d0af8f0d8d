#include "duplicate_keys.h"

#include "book_rows.h"

#include <algorithm>
#include <string_view>

namespace transfer {
namespace {

using interchange::Column;

// Fewer digits than this are an extension or a short code many contacts
// may share, not a number that tells one person.
constexpr qsizetype kShortestPhone = 6;

constexpr Column kPhones[] = {Column::PhOff1, Column::PhOff2, Column::PhFax,  Column::PhRes1,
                              Column::PhRes2, Column::PhCell, Column::PhPager};
static_assert(std::size(kPhones) == DuplicateKeys::kMostColumns);

void append(std::u16string& out, QStringView text)
{
    out.append(reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size()));
}

char16_t lowered(char c)
{
    return char16_t(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
}

// A digit of any script counts as the digit it stands for.
template <typename Text>
void appendDigits(const Text& text, std::u16string& out)
{
    for (const auto c : text) {
        const QChar character(c);
        if (character.unicode() >= u'0' && character.unicode() <= u'9')
            out.push_back(character.unicode());
        else if (character.unicode() > 0x7f && character.isDigit())
            out.push_back(char16_t(u'0' + character.digitValue()));
    }
}

} // namespace

DuplicateKeys::DuplicateKeys(const data::Recordset& addresses) : m_store(addresses.rows())
{
    const ColumnIndexes columns = columnIndexes(addresses);
    m_email = columns[size_t(Column::EmlAddr)];
    m_name = columns[size_t(Column::Name)];
    for (size_t i = 0; i < m_phones.size(); ++i)
        m_phones[i] = columns[size_t(kPhones[i])];
}

int DuplicateKeys::columnCount(DuplicateRule rule)
{
    return rule == DuplicateRule::Phone ? kMostColumns : 1;
}

bool DuplicateKeys::key(DuplicateRule rule, int row, int which, std::u16string& out)
{
    out.clear();
    if (rule == DuplicateRule::Name)
        return nameKey(row, out);
    const int column = rule == DuplicateRule::Email ? m_email : m_phones[size_t(which)];
    const data::KeyView stored = m_store.key(row, column);
    if (stored.size() == 0)
        return false;
    const QLatin1StringView ascii(stored.narrow(), stored.narrow() ? stored.size() : 0);
    if (rule == DuplicateRule::Phone) {
        if (stored.narrow())
            appendDigits(ascii, out);
        else
            appendDigits(m_store.value(row, column).toString(), out);
        return qsizetype(out.size()) >= kShortestPhone;
    }
    if (stored.narrow()) {
        for (const char c : ascii.trimmed())
            out.push_back(lowered(c));
    } else {
        append(out, m_store.value(row, column).toString().trimmed().toCaseFolded());
    }
    return !out.empty();
}

bool DuplicateKeys::nameKey(int row, std::u16string& out)
{
    // The name's comparison key as the store keeps it beside the name, up
    // to the form that keeps the accents: each word of it is that word's key.
    const data::KeyView stored = m_store.key(row, m_name);
    m_key.clear();
    for (qsizetype i = 0; i < stored.size(); ++i) {
        const char16_t c = stored.at(i);
        if (stored.wide() && c == u'\u0001')
            break;
        m_key.push_back(c);
    }
    // Letters and digits of every script make words; anything else parts them.
    m_words.clear();
    size_t start = 0;
    for (size_t i = 0; i <= m_key.size(); ++i) {
        if (i < m_key.size() && QChar(m_key[i]).isLetterOrNumber())
            continue;
        if (i > start)
            m_words.push_back(std::u16string_view(m_key).substr(start, i - start));
        start = i + 1;
    }
    std::sort(m_words.begin(), m_words.end());
    for (const std::u16string_view word : m_words) {
        if (!out.empty())
            out.push_back(u' ');
        out.append(word);
    }
    return !out.empty();
}

} // namespace transfer
