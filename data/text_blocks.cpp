#include "text_blocks.h"

#include "platform/error_numbers.h"
#include "platform/runtime_error.h"

#include <QString>

#include <algorithm>

namespace data {

char16_t* TextBlocks::allocate(size_t size, quint32& position)
{
    if (m_blocks.empty() || m_used + size > m_capacity) {
        if (m_blocks.size() == kMostBlocks)
            platform::raise(platform::err::OutOfMemory,
                            QStringLiteral("A column of the address book holds more text than "
                                           "the program can keep in memory."));
        // Small tables take small blocks; a text longer than a block gets one
        // of its own, at its start.
        m_capacity = std::max(std::clamp(m_capacity * 2, size_t(4096), kLargestBlock), size);
        m_blocks.push_back(std::make_unique_for_overwrite<char16_t[]>(m_capacity));
        m_used = 0;
    }
    position = quint32(((m_blocks.size() - 1) << kOffsetBits) | m_used);
    char16_t* room = m_blocks.back().get() + m_used;
    m_used += size;
    return room;
}

} // namespace data
