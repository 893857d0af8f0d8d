#include "duplicate_groups.h"

#include "book_rows.h"

#include "data/text_key.h"

#include <QHash>

#include <algorithm>
#include <numeric>

namespace transfer {
namespace {

using interchange::Column;

// Fewer digits than this are an extension or a short code many contacts
// may share, not a number that tells one person.
constexpr qsizetype kShortestPhone = 6;

constexpr Column kPhones[] = {Column::PhOff1, Column::PhOff2, Column::PhFax,  Column::PhRes1,
                              Column::PhRes2, Column::PhCell, Column::PhPager};

QString digitsOf(const QString& phone)
{
    QString digits;
    for (const QChar c : phone) {
        if (c.isDigit())
            digits.append(QChar(u'0' + c.digitValue()));
    }
    return digits;
}

// A word as the card compares it; plain ASCII, most names, needs only its
// capitals made small.
QString foldedWord(QStringView word)
{
    const bool ascii =
        std::all_of(word.begin(), word.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii)
        return word.toString().toLower();
    return data::textKey(word).stripped().toString();
}

// The name's words, each folded as the card compares texts (case and
// accents set aside), in sorted order: "Émile  Zola" and "zola, emile" meet.
QString nameKey(const QString& name)
{
    QStringList words;
    qsizetype start = 0;
    // Letters and digits of every script make words; anything else parts them.
    for (qsizetype i = 0; i <= name.size(); ++i) {
        if (i < name.size() && name[i].isLetterOrNumber())
            continue;
        if (i > start)
            words.append(foldedWord(QStringView(name).mid(start, i - start)));
        start = i + 1;
    }
    words.sort();
    return words.join(u' ');
}

// The keys that join a contact to others, each marked with its rule so that
// a phone never meets a name.
QStringList keysOf(const interchange::Contact& contact)
{
    QStringList keys;
    const QString email = contact[Column::EmlAddr].trimmed().toCaseFolded();
    if (!email.isEmpty())
        keys.append(u'@' + email);
    for (const Column column : kPhones) {
        const QString digits = digitsOf(contact[column]);
        if (digits.size() >= kShortestPhone)
            keys.append(u'#' + digits);
    }
    const QString name = nameKey(contact[Column::Name]);
    if (!name.isEmpty())
        keys.append(u'=' + name);
    return keys;
}

int root(std::vector<int>& parent, int i)
{
    while (parent[size_t(i)] != i)
        i = parent[size_t(i)] = parent[size_t(parent[size_t(i)])];
    return i;
}

} // namespace

std::vector<std::vector<int>> duplicateGroups(const std::vector<BookContact>& contacts)
{
    const int count = int(contacts.size());
    std::vector<int> parent(contacts.size());
    std::iota(parent.begin(), parent.end(), 0);
    QHash<QString, int> firstWithKey;
    firstWithKey.reserve(count * 2);
    for (int i = 0; i < count; ++i) {
        for (const QString& key : keysOf(contacts[size_t(i)].contact)) {
            const auto seen = firstWithKey.constFind(key);
            if (seen == firstWithKey.cend()) {
                firstWithKey.insert(key, i);
                continue;
            }
            const int a = root(parent, *seen), b = root(parent, i);
            // The earlier contact stays the root, so a group is named by its first.
            parent[size_t(std::max(a, b))] = std::min(a, b);
        }
    }
    std::vector<std::vector<int>> groups;
    QHash<int, size_t> groupOfRoot;
    std::vector<int> sizes(contacts.size(), 0);
    for (int i = 0; i < count; ++i)
        ++sizes[size_t(root(parent, i))];
    for (int i = 0; i < count; ++i) {
        const int r = root(parent, i);
        if (sizes[size_t(r)] < 2)
            continue;
        if (r == i) {
            groupOfRoot.insert(r, groups.size());
            groups.emplace_back();
        }
        groups[groupOfRoot.value(r)].push_back(i);
    }
    return groups;
}

std::vector<std::vector<BookContact>> findDuplicates(AddressBook& book)
{
    // Only the columns the rules read, since most rows are nobody's
    // duplicate; the grouped rows are read whole afterwards.
    data::Recordset& rows = book.addresses;
    std::vector<BookContact> contacts;
    contacts.reserve(size_t(std::max(0, rows.RecordCount())));
    const ColumnIndexes columns = columnIndexes(rows);
    std::vector<Column> ruled{Column::Name, Column::EmlAddr};
    ruled.insert(ruled.end(), std::begin(kPhones), std::end(kPhones));
    const int idColumn = rows.fieldIndex(u"AddressId");
    if (rows.RecordCount() > 0) {
        for (rows.MoveFirst(); !rows.isEOF(); rows.MoveNext()) {
            BookContact& read = contacts.emplace_back();
            read.id = rows.value(idColumn).toLongLong();
            for (const Column column : ruled)
                read.contact[column] = rows.value(columns[size_t(column)]).toString();
        }
    }
    // A second walk reads the grouped rows whole: finding a row by its
    // bookmark costs a walk of its own.
    const std::vector<std::vector<int>> found = duplicateGroups(contacts);
    std::vector<std::pair<int, int>> placeOf(contacts.size(), {-1, 0});
    std::vector<std::vector<BookContact>> groups(found.size());
    for (size_t g = 0; g < found.size(); ++g) {
        groups[g].resize(found[g].size());
        for (size_t m = 0; m < found[g].size(); ++m)
            placeOf[size_t(found[g][m])] = {int(g), int(m)};
    }
    const PickLists lists = pickListsOf(book);
    int i = 0;
    for (rows.MoveFirst(); !groups.empty() && !rows.isEOF(); rows.MoveNext(), ++i) {
        const auto [g, m] = placeOf[size_t(i)];
        if (g >= 0)
            groups[size_t(g)][size_t(m)] = {contacts[size_t(i)].id,
                                            contactOfRow(rows, lists, columns)};
    }
    return groups;
}

} // namespace transfer
