#include "row_sort.h"

#include <array>
#include <utility>

namespace data::detail {

void sortPacked(std::vector<SortEntry>& entries, bool descending)
{
    const auto firstKeyed = std::stable_partition(
        entries.begin(), entries.end(),
        [descending](const SortEntry& entry) { return entry.null != descending; });
    // The keyed entries, and their sixteen bytes from the lowest; a
    // descending order reads every byte inverted.
    const auto keyed = descending ? entries.begin() : firstKeyed;
    const size_t count = size_t(descending ? firstKeyed - entries.begin()
                                           : entries.end() - firstKeyed);
    const quint8 flip = descending ? 0xff : 0;
    const auto byteOf = [flip](const SortEntry& entry, int at) {
        const quint64 half = at < 8 ? entry.more : entry.prefix;
        return quint8(quint8(half >> (8 * (at % 8))) ^ flip);
    };
    std::vector<std::array<size_t, 256>> counts(16);
    for (size_t i = 0; i < count; ++i)
        for (int at = 0; at < 16; ++at)
            ++counts[size_t(at)][byteOf(keyed[qsizetype(i)], at)];
    std::vector<SortEntry> from(keyed, keyed + qsizetype(count));
    std::vector<SortEntry> into(count);
    for (int at = 0; at < 16; ++at) {
        std::array<size_t, 256>& places = counts[size_t(at)];
        if (std::find(places.begin(), places.end(), count) != places.end())
            continue; // every entry has the same byte here
        size_t place = 0;
        for (size_t& slot : places)
            place += std::exchange(slot, place);
        for (const SortEntry& entry : from)
            into[places[byteOf(entry, at)]++] = entry;
        from.swap(into);
    }
    std::copy(from.begin(), from.end(), keyed);
}

} // namespace data::detail
