#include "siblings/mirel/response_body.h"

#include <algorithm>
#include <cstring>

namespace hvx::mirel {
namespace {

// The first block of a body of unknown length; each later one doubles, up to kMaxBlockBytes.
constexpr std::size_t kFirstBlockBytes = std::size_t{16} << 10U;

}  // namespace

void ResponseBody::Clear() {
    std::deque<Block>().swap(m_blocks);
    m_cursor = 0;
    m_unread = 0;
    m_expected = 0;
}

std::size_t ResponseBody::NextBlockCapacity() const {
    if (!m_blocks.empty()) {
        return std::min(m_blocks.back().capacity * 2, kMaxBlockBytes);
    }
    if (m_expected > 0) {
        return static_cast<std::size_t>(std::min<std::uint64_t>(m_expected, kMaxBlockBytes));
    }
    return kFirstBlockBytes;
}

void ResponseBody::Append(const char* data, std::size_t size) {
    while (size > 0) {
        if (m_blocks.empty() || m_blocks.back().size == m_blocks.back().capacity) {
            const std::size_t capacity = NextBlockCapacity();
            m_blocks.push_back({std::make_unique_for_overwrite<char[]>(capacity), 0, capacity});
        }
        Block& last = m_blocks.back();
        const std::size_t take = std::min(size, last.capacity - last.size);
        std::memcpy(last.bytes.get() + last.size, data, take);
        last.size += take;
        m_unread += take;
        data += take;
        size -= take;
    }
}

std::uint32_t ResponseBody::Read(char* buffer, std::uint32_t capacity) {
    std::uint32_t copied = 0;
    while (copied < capacity && !m_blocks.empty()) {
        const Block& first = m_blocks.front();
        const std::size_t take = std::min<std::size_t>(capacity - copied, first.size - m_cursor);
        std::memcpy(buffer + copied, first.bytes.get() + m_cursor, take);
        copied += static_cast<std::uint32_t>(take);
        m_cursor += take;
        m_unread -= take;
        // The body is read after the transfer, so a block read to its end is done with.
        if (m_cursor == first.size) {
            m_blocks.pop_front();
            m_cursor = 0;
        }
    }
    return copied;
}

}  // namespace hvx::mirel
