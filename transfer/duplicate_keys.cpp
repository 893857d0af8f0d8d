#include "duplicate_keys.h"

#include "book_rows.h"

#include "data/text_key.h"

#include <QStringList>

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

bool isAsciiWordChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// A digit of any script counts as the digit it stands for.
template <typename Text>
void appendDigits(const Text& text, std::u16string& out)
{
    for (const auto c : text) {
        const QChar character(c);
        if (character.isDigit())
            out.push_back(char16_t(u'0' + character.digitValue()));
    }
}

// A name that is not plain ASCII: its words (letters and digits of every
// script; anything else parts them) each folded to its comparison key.
QString foldedNameKey(const QString& name)
{
    QStringList words;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= name.size(); ++i) {
        if (i < name.size() && name[i].isLetterOrNumber())
            continue;
        if (i > start)
            words.append(data::textKey(QStringView(name).mid(start, i - start)).stripped().toString());
        start = i + 1;
    }
    words.sort();
    return words.join(u' ');
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
    const data::KeyView stored = m_store.key(row, m_name);
    if (stored.size() == 0)
        return false;
    if (!stored.narrow()) {
        append(out, foldedNameKey(m_store.value(row, m_name).toString()));
        return !out.empty();
    }
    // Plain ASCII: its words made small where they lie, then joined in order.
    const char* chars = stored.narrow();
    std::u16string& name = m_lowered;
    name.assign(size_t(stored.size()), u' ');
    m_words.clear();
    qsizetype start = 0;
    for (qsizetype i = 0; i <= stored.size(); ++i) {
        if (i < stored.size() && isAsciiWordChar(chars[i])) {
            name[size_t(i)] = lowered(chars[i]);
            continue;
        }
        if (i > start)
            m_words.emplace_back(start, i - start);
        start = i + 1;
    }
    const std::u16string_view whole(name);
    const auto word = [&whole](const std::pair<qsizetype, qsizetype>& at) {
        return whole.substr(size_t(at.first), size_t(at.second));
    };
    std::sort(m_words.begin(), m_words.end(),
              [&word](const auto& a, const auto& b) { return word(a) < word(b); });
    for (const auto& at : m_words) {
        if (!out.empty())
            out.push_back(u' ');
        out.append(word(at));
    }
    return !out.empty();
}

} // namespace transfer
