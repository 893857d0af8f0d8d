#pragma once
// The characters of a text column, back to back in blocks that never move:
// when a block is full a new one is begun, so a column that grows copies
// nothing and holds at most one block's slack. A position names where a
// text begins and stays valid while the blocks live; positions stay below
// 0x7ff80000, so a caller may use the top bit and the value 0xffffffff.

#include <QtGlobal>

#include <algorithm>
#include <memory>
#include <vector>

namespace data {

// Raises the out-of-memory error for a column past what positions can name.
[[noreturn]] void tooMuchText();

template <typename Char>
class TextBlocks {
public:
    // Room for `size` characters, and the position that names it.
    Char* allocate(size_t size, quint32& position)
    {
        if (m_blocks.empty() || m_used + size > m_capacity) {
            if (m_blocks.size() == kMostBlocks)
                tooMuchText();
            // Small tables take small blocks; a text longer than a block
            // gets one of its own, at its start.
            m_capacity = std::max(std::clamp(m_capacity * 2, size_t(4096), kLargestBlock), size);
            m_blocks.push_back(std::make_unique_for_overwrite<Char[]>(m_capacity));
            m_used = 0;
        }
        position = quint32(((m_blocks.size() - 1) << kOffsetBits) | m_used);
        Char* room = m_blocks.back().get() + m_used;
        m_used += size;
        return room;
    }
    const Char* at(quint32 position) const
    {
        return m_blocks[position >> kOffsetBits].get() + (position & kOffsetMask);
    }

private:
    static constexpr int kOffsetBits = 19;
    static constexpr quint32 kOffsetMask = (1u << kOffsetBits) - 1;
    static constexpr size_t kLargestBlock = size_t(1) << kOffsetBits;
    static constexpr size_t kMostBlocks = (size_t(1) << (31 - kOffsetBits)) - 1;

    std::vector<std::unique_ptr<Char[]>> m_blocks;
    size_t m_capacity = 0; // of the last block
    size_t m_used = 0;
};

} // namespace data
