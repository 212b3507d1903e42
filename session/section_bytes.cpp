// hvx::SectionBytes: a section's content in one block from malloc, with room before and after.
#include "session/section_bytes.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

namespace hvx {

namespace {

constexpr std::size_t kMaxBlock = std::numeric_limits<std::size_t>::max();

void CopyBytes(char* target, const char* source, std::size_t count) {
    if (count > 0) {
        std::memcpy(target, source, count);
    }
}

}  // namespace

SectionBytes::SectionBytes(std::initializer_list<char> bytes) {
    Append(std::data(bytes), bytes.size());
}

SectionBytes::SectionBytes(const SectionBytes& other) {
    Append(other.data(), other.size());
}

SectionBytes& SectionBytes::operator=(const SectionBytes& other) {
    if (this != &other) {
        m_size = 0;
        Append(other.data(), other.size());
    }
    return *this;
}

SectionBytes::SectionBytes(SectionBytes&& other) noexcept
    : m_block(std::move(other.m_block)),
      m_capacity(std::exchange(other.m_capacity, 0)),
      m_front(std::exchange(other.m_front, 0)),
      m_size(std::exchange(other.m_size, 0)) {}

SectionBytes& SectionBytes::operator=(SectionBytes&& other) noexcept {
    if (this != &other) {
        m_block = std::move(other.m_block);
        m_capacity = std::exchange(other.m_capacity, 0);
        m_front = std::exchange(other.m_front, 0);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

SectionBytes& SectionBytes::operator=(std::initializer_list<char> bytes) {
    m_size = 0;
    Append(std::data(bytes), bytes.size());
    return *this;
}

void SectionBytes::assign(std::size_t count, char value) {
    m_size = 0;
    if (!Reserve(m_front, count)) {
        throw std::bad_alloc();
    }
    if (count > 0) {
        std::memset(Spare(), value, count);
    }
    Extend(count);
}

bool SectionBytes::Reserve(std::size_t front, std::size_t count) {
    if (front > kMaxBlock - m_size || count > kMaxBlock - m_size - front) {
        return false;
    }
    const std::size_t capacity = front + m_size + count;
    if (front == m_front && capacity <= m_capacity) {
        return true;
    }
    if (front == m_front) {
        // The same layout, longer: realloc keeps the content (and may move the pages rather
        // than copy them).
        void* grown = std::realloc(m_block.get(), capacity);  // NOLINT(cppcoreguidelines-no-malloc)
        if (grown == nullptr) {
            return false;
        }
        static_cast<void>(m_block.release());
        m_block.reset(static_cast<char*>(grown));
        m_capacity = capacity;
        return true;
    }
    MallocBuffer block(
        static_cast<char*>(std::malloc(capacity)));  // NOLINT(cppcoreguidelines-no-malloc)
    if (!block) {
        return false;
    }
    CopyBytes(block.get() + front, data(), m_size);
    m_block = std::move(block);
    m_capacity = capacity;
    m_front = front;
    return true;
}

void SectionBytes::TrimBackRoom(std::size_t keep) {
    if (BackRoom() <= keep) {
        return;
    }
    const std::size_t capacity = m_front + m_size + keep;
    if (capacity == 0) {
        m_block.reset();
        m_capacity = 0;
        return;
    }
    // Shrinking in place normally succeeds; when it does not, the block stays as it is.
    void* trimmed = std::realloc(m_block.get(), capacity);  // NOLINT(cppcoreguidelines-no-malloc)
    if (trimmed != nullptr) {
        static_cast<void>(m_block.release());
        m_block.reset(static_cast<char*>(trimmed));
        m_capacity = capacity;
    }
}

void SectionBytes::Append(const char* bytes, std::size_t count) {
    if (count > BackRoom()) {
        // Geometric growth keeps a series of small appends linear.
        const std::size_t wanted = count > m_size ? count : m_size;
        if (!Reserve(m_front, wanted) && !Reserve(m_front, count)) {
            throw std::bad_alloc();
        }
    }
    CopyBytes(Spare(), bytes, count);
    Extend(count);
}

}  // namespace hvx
