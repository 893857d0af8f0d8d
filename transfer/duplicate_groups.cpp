#include "duplicate_groups.h"

#include "duplicate_keys.h"

#include <QHashFunctions>

#include <numeric>
#include <optional>

namespace transfer {
namespace {

// Where each key of one rule was first seen, by open addressing. A slot
// holds the key's hash and the place it came from (row and column); the key
// itself is read again from its row when another hashes alike, so a
// million rows cost a few tens of megabytes, not a copy of every key.
class FirstSeen {
public:
    static constexpr quint32 kColumnsAPlace = 8;
    static_assert(DuplicateKeys::kMostColumns < int(kColumnsAPlace));

    void clear(size_t expected)
    {
        size_t size = 16;
        while (size < 2 * expected)
            size *= 2;
        m_slots.assign(size, Slot{});
        m_used = 0;
    }

    // The place first seen with this key (the same hash, and `same` of that
    // place), or nothing when there is none and `place` is now the first.
    template <typename Same>
    std::optional<quint32> findOrAdd(quint32 hash, quint32 place, const Same& same)
    {
        const size_t mask = m_slots.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot& slot = m_slots[i];
            if (slot.place == kFree) {
                slot = {hash, place};
                if (++m_used * 2 > m_slots.size())
                    grow();
                return std::nullopt;
            }
            if (slot.hash == hash && same(slot.place))
                return slot.place;
        }
    }

private:
    static constexpr quint32 kFree = 0xffffffff;
    struct Slot {
        quint32 hash = 0;
        quint32 place = kFree;
    };

    // Twice the slots, every key a different one, so none is compared.
    void grow()
    {
        std::vector<Slot> old(m_slots.size() * 2);
        old.swap(m_slots);
        const size_t mask = m_slots.size() - 1;
        for (const Slot& slot : old) {
            if (slot.place == kFree)
                continue;
            size_t i = slot.hash & mask;
            while (m_slots[i].place != kFree)
                i = (i + 1) & mask;
            m_slots[i] = slot;
        }
    }

    std::vector<Slot> m_slots;
    size_t m_used = 0;
};

quint32 hashOf(const std::u16string& key)
{
    const size_t hash = qHash(QStringView(key.data(), qsizetype(key.size())));
    return quint32(hash ^ (quint64(hash) >> 32));
}

int root(std::vector<int>& parent, int i)
{
    while (parent[size_t(i)] != i)
        i = parent[size_t(i)] = parent[size_t(parent[size_t(i)])];
    return i;
}

void join(std::vector<int>& parent, int a, int b)
{
    a = root(parent, a);
    b = root(parent, b);
    // The earlier row stays the root, so a group is named by its first.
    parent[size_t(std::max(a, b))] = std::min(a, b);
}

// The sets of `parent` with two rows or more, each in stored order.
std::vector<std::vector<int>> groupsOf(std::vector<int>& parent)
{
    const int count = int(parent.size());
    std::vector<int> sizes(parent.size(), 0);
    for (int i = 0; i < count; ++i)
        ++sizes[size_t(root(parent, i))];
    std::vector<std::vector<int>> groups;
    std::vector<int> groupOfRoot(parent.size(), -1);
    for (int i = 0; i < count; ++i) {
        const int r = root(parent, i);
        if (sizes[size_t(r)] < 2)
            continue;
        if (r == i) {
            groupOfRoot[size_t(r)] = int(groups.size());
            groups.emplace_back().reserve(size_t(sizes[size_t(r)]));
        }
        groups[size_t(groupOfRoot[size_t(r)])].push_back(i);
    }
    return groups;
}

} // namespace

std::vector<std::vector<int>> duplicateRows(const data::Recordset& addresses)
{
    const int count = addresses.rows().rowCount();
    std::vector<int> parent(static_cast<size_t>(count));
    std::iota(parent.begin(), parent.end(), 0);
    DuplicateKeys keys(addresses);
    std::u16string key, other;
    FirstSeen seen;
    // One rule at a time, so that the table holds the keys of one.
    for (const DuplicateRule rule : kDuplicateRules) {
        seen.clear(size_t(count));
        const int columns = DuplicateKeys::columnCount(rule);
        for (int row = 0; row < count; ++row) {
            if (!addresses.isLive(row))
                continue;
            for (int which = 0; which < columns; ++which) {
                if (!keys.key(rule, row, which, key))
                    continue;
                const quint32 place = quint32(row) * FirstSeen::kColumnsAPlace + quint32(which);
                const auto first = seen.findOrAdd(hashOf(key), place, [&](quint32 at) {
                    return keys.key(rule, int(at / FirstSeen::kColumnsAPlace),
                                    int(at % FirstSeen::kColumnsAPlace), other)
                           && other == key;
                });
                if (first)
                    join(parent, int(*first / FirstSeen::kColumnsAPlace), row);
            }
        }
    }
    return groupsOf(parent);
}

std::vector<BookContact> contactsOfRows(const data::Recordset& addresses, const PickLists& lists,
                                        std::span<const int> rows)
{
    const ColumnIndexes columns = columnIndexes(addresses);
    const int idColumn = addresses.fieldIndex(u"AddressId");
    std::vector<BookContact> contacts;
    contacts.reserve(rows.size());
    for (const int row : rows)
        contacts.push_back({addresses.rows().number(row, idColumn),
                            contactOfRow(addresses.rows(), row, lists, columns), row});
    return contacts;
}

} // namespace transfer
