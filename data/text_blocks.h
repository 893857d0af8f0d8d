#pragma once
// The characters of a text column, back to back in blocks that never move:
// when a block is full a new one is begun, so a column that grows copies
// nothing and holds at most one block's slack. A position names where a
// text begins and stays valid while the blocks live.

#include <QtGlobal>

#include <memory>
#include <vector>

namespace data {

class TextBlocks {
public:
    // Room for `size` characters, and the position that names it.
    char16_t* allocate(size_t size, quint32& position);
    const char16_t* at(quint32 position) const
    {
        return m_blocks[position >> kOffsetBits].get() + (position & kOffsetMask);
    }

private:
    static constexpr int kOffsetBits = 20;
    static constexpr quint32 kOffsetMask = (1u << kOffsetBits) - 1;
    static constexpr size_t kLargestBlock = size_t(1) << kOffsetBits;
    static constexpr size_t kMostBlocks = size_t(1) << (32 - kOffsetBits);

    std::vector<std::unique_ptr<char16_t[]>> m_blocks;
    size_t m_capacity = 0; // of the last block
    size_t m_used = 0;
};

} // namespace data
