// The content of one multipart section. The bytes sit in one block from malloc that may keep room
// before and after them: a producer that knows where a large section's content will start in the
// body leaves that much room, and the body is then laid around the content where it is (the other
// parts written into the room) instead of the content being copied into a buffer of its own.
// Copies carry the bytes only, without room.
#pragma once

#include <concepts>
#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <memory>

#include "session/request_buffers.h"

namespace hvx {

class SectionBytes {
public:
    SectionBytes() = default;
    SectionBytes(std::initializer_list<char> bytes);
    template <std::contiguous_iterator Iterator>
    requires std::same_as < std::iter_value_t<Iterator>,
    char > SectionBytes(Iterator first, Iterator last) { assign(first, last); }
    SectionBytes(const SectionBytes& other);
    SectionBytes& operator=(const SectionBytes& other);
    SectionBytes(SectionBytes&& other) noexcept;
    SectionBytes& operator=(SectionBytes&& other) noexcept;
    SectionBytes& operator=(std::initializer_list<char> bytes);
    ~SectionBytes() = default;

    // The content, as a byte vector shows it. The assignments keep the room; like a vector's,
    // they throw std::bad_alloc when the memory cannot be had.
    const char* data() const { return m_block.get() + m_front; }
    char* data() { return m_block.get() + m_front; }
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    const char* begin() const { return data(); }
    const char* end() const { return data() + m_size; }
    char& operator[](std::size_t index) { return data()[index]; }
    const char& operator[](std::size_t index) const { return data()[index]; }
    template <std::contiguous_iterator Iterator>
    requires std::same_as < std::iter_value_t<Iterator>,
    char > void assign(Iterator first, Iterator last) {
        m_size = 0;
        Append(std::to_address(first), static_cast<std::size_t>(last - first));
    }
    void assign(std::size_t count, char value);

    // Room for `front` bytes before the content and for `count` more bytes after it. False when
    // the memory cannot be had or the sizes overflow; the content is kept either way.
    [[nodiscard]] bool Reserve(std::size_t front, std::size_t count);
    std::size_t FrontRoom() const { return m_front; }
    std::size_t BackRoom() const { return m_capacity - m_front - m_size; }
    // The room after the content, where the next bytes are written; Extend makes the first
    // `count` bytes written there part of the content.
    char* Spare() { return data() + m_size; }
    void Extend(std::size_t count) { m_size += count; }
    // Gives back the room after the content beyond `keep` bytes.
    void TrimBackRoom(std::size_t keep);

private:
    // Appends a copy of `count` bytes, growing the block as a vector grows; std::bad_alloc when
    // it cannot.
    void Append(const char* bytes, std::size_t count);

    MallocBuffer m_block;
    std::size_t m_capacity = 0;  // the block's length: room, content and room
    std::size_t m_front = 0;
    std::size_t m_size = 0;
};

}  // namespace hvx
