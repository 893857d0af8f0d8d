#pragma once
// Ordering rows by a key read from the row store: the recordset's sort and
// the contacts list's heading sort share it. Each row's key is packed in
// two numbers that decide most comparisons without reaching into the rows:
// a number as it is; for a text, its first characters after those that
// every text shares ("Company 1", "Company 2"), sixteen when every key
// character fits a byte, else eight. Names, cities and e-mail addresses
// mostly fit in them whole, and then they decide the order by themselves.

#include "text_key.h"

#include <QtGlobal>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <type_traits>
#include <vector>

namespace data {

namespace detail {

struct SortEntry {
    quint64 prefix = 0; // the first half of the packed characters
    quint64 more = 0;   // the second
    int row = 0;
    bool null = true;  // no key comes first in ascending order
    bool whole = true; // the key is all in the prefix
};

// Where the packed characters of the texts begin, and how many fit.
struct TextPacking {
    qsizetype from = 0;
    qsizetype width = 8; // characters in both halves
    int bits = 16;
};

// Orders the entries stably by their packed key, no key first (last when
// `descending`): a radix sort a byte at a time, which passes over the
// bytes that every key shares.
void sortPacked(std::vector<SortEntry>& entries, bool descending);

template <typename KeyOf>
TextPacking textPacking(const std::vector<int>& rows, const KeyOf& keyOf)
{
    KeyView reference;
    qsizetype shared = -1;
    bool bytes = true;
    for (const int row : rows) {
        const std::optional<KeyView> key = keyOf(row);
        if (!key)
            continue;
        if (bytes && !key->narrow()) {
            for (qsizetype i = 0; i < key->size() && bytes; ++i)
                bytes = key->at(i) < 0x100;
        }
        if (shared < 0) {
            reference = *key;
            shared = key->size();
            continue;
        }
        qsizetype same = 0;
        while (same < shared && same < key->size() && key->at(same) == reference.at(same))
            ++same;
        shared = same;
    }
    return {std::max<qsizetype>(shared, 0), bytes ? 16 : 8, bytes ? 8 : 16};
}

} // namespace detail

// Orders `rows` stably by `keyOf(row)`, a std::optional<KeyView> or a
// std::optional<qint64> (no key first when ascending), and rows whose keys
// are equal by `tie(a, b)` (below, at or above 0) when one is given, which
// applies its own direction.
template <typename KeyOf, typename Tie = std::nullptr_t>
void sortRows(std::vector<int>& rows, const KeyOf& keyOf, bool descending, const Tie& tie = nullptr)
{
    using detail::SortEntry;
    constexpr bool text = std::is_same_v<decltype(keyOf(0)), std::optional<KeyView>>;
    constexpr bool tied = !std::is_null_pointer_v<Tie>;
    // The keys are read in the order the rows are stored, front to back in
    // memory, rather than in the order given, which may jump all over it.
    std::vector<int> positionOf(rows.empty() ? 0 : size_t(*std::max_element(rows.begin(), rows.end())) + 1, -1);
    for (size_t i = 0; i < rows.size(); ++i)
        positionOf[size_t(rows[i])] = int(i);
    std::vector<int> stored;
    stored.reserve(rows.size());
    for (size_t row = 0; row < positionOf.size(); ++row)
        if (positionOf[row] >= 0)
            stored.push_back(int(row));
    detail::TextPacking packing;
    if constexpr (text)
        packing = detail::textPacking(stored, keyOf);
    const qsizetype packed = packing.from + packing.width;
    std::vector<SortEntry> entries(rows.size());
    for (const int row : stored) {
        SortEntry entry{0, 0, row, true, true};
        if (const auto key = keyOf(row)) {
            entry.null = false;
            if constexpr (text) {
                const qsizetype half = packing.from + packing.width / 2;
                for (qsizetype at = packing.from; at < packed; ++at) {
                    quint64& into = at < half ? entry.prefix : entry.more;
                    into = into << packing.bits | (at < key->size() ? key->at(at) : 0);
                }
                entry.whole = key->size() <= packed;
            } else {
                entry.prefix = quint64(*key) ^ (quint64(1) << 63);
            }
        }
        entries[size_t(positionOf[size_t(row)])] = entry;
    }
    detail::sortPacked(entries, descending);
    // Runs of entries whose packed keys are equal: the rest of the texts,
    // then the tie, decide.
    const auto restOrder = [&](const SortEntry& a, const SortEntry& b) {
        if constexpr (text) {
            if (!a.null && !(a.whole && b.whole)) {
                const KeyView keyA = *keyOf(a.row);
                const KeyView keyB = *keyOf(b.row);
                const qsizetype from = std::min({packed, keyA.size(), keyB.size()});
                const int order = compareKeys(keyA.mid(from), keyB.mid(from));
                if (order != 0)
                    return descending ? order > 0 : order < 0;
            }
        }
        if constexpr (tied)
            return tie(a.row, b.row) < 0;
        return false;
    };
    for (auto run = entries.begin(); run != entries.end();) {
        const auto end = std::find_if(run + 1, entries.end(), [&](const SortEntry& entry) {
            return entry.null != run->null || entry.prefix != run->prefix
                   || entry.more != run->more;
        });
        const bool decided = !tied && std::all_of(run, end, [](const SortEntry& entry) {
            return entry.null || entry.whole;
        });
        if (end - run > 1 && !decided)
            std::stable_sort(run, end, restOrder);
        run = end;
    }
    std::transform(entries.begin(), entries.end(), rows.begin(),
                   [](const SortEntry& entry) { return entry.row; });
}

} // namespace data
