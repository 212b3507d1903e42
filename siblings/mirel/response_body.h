// The in-memory response body of an instance: filled during a transfer, read in parts afterwards.
//
// It is held in blocks of at most kMaxBlockBytes rather than in one growing string: a body of
// unknown length never costs a copy or a second buffer while it grows, a length the server
// announces is trusted only for the size of the first block, and each block is freed as soon as
// it has been read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>

namespace hvx::mirel {

class ResponseBody {
public:
    static constexpr std::size_t kMaxBlockBytes = std::size_t{1} << 20U;

    // Empties the body and releases its memory.
    void Clear();
    // The size of the first block when the length of the body is announced (0: unknown).
    void ExpectLength(std::uint64_t announced) { m_expected = announced; }
    // Appends bytes; throws std::bad_alloc when memory runs out.
    void Append(const char* data, std::size_t size);

    // Copies the next part of the body, at most `capacity` bytes; 0 at the end.
    std::uint32_t Read(char* buffer, std::uint32_t capacity);
    // The bytes that Read has still to copy.
    std::size_t Unread() const { return m_unread; }

private:
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::size_t size = 0;
        std::size_t capacity = 0;
    };

    std::size_t NextBlockCapacity() const;

    std::deque<Block> m_blocks;
    // Read position in the first block.
    std::size_t m_cursor = 0;
    std::size_t m_unread = 0;
    std::uint64_t m_expected = 0;
};

}  // namespace hvx::mirel
