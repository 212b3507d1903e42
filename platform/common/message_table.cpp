#include "platform/common/message_table.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace hvx::os::detail {

namespace {

constexpr std::size_t kBlockCountSize = 4;
constexpr std::size_t kBlockSize = 12;
constexpr std::size_t kEntryHeaderSize = 4;
constexpr std::uint32_t kEntryFlagUtf16 = 1;

// Little-endian reads that fail instead of running past the end.
class ByteReader {
public:
    explicit ByteReader(const ResourceData& data)
        : m_bytes(data.bytes, data.bytes != nullptr ? data.size : 0) {}

    [[nodiscard]] bool Read16(std::size_t at, std::uint32_t& value) const {
        if (at > m_bytes.size() || m_bytes.size() - at < 2) {
            return false;
        }
        value = static_cast<std::uint32_t>(m_bytes[at]) |
                (static_cast<std::uint32_t>(m_bytes[at + 1]) << 8);
        return true;
    }
    [[nodiscard]] bool Read32(std::size_t at, std::uint32_t& value) const {
        std::uint32_t low = 0;
        std::uint32_t high = 0;
        if (!Read16(at, low) || !Read16(at + 2, high)) {
            return false;
        }
        value = low | (high << 16);
        return true;
    }
    [[nodiscard]] std::size_t Size() const { return m_bytes.size(); }

private:
    std::span<const std::uint8_t> m_bytes;
};

struct Block {
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    std::uint32_t firstEntry = 0;
};

// The block whose id range holds `id`.
bool FindBlock(const ByteReader& reader, DWORD id, Block& block) {
    std::uint32_t count = 0;
    if (!reader.Read32(0, count)) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kBlockCountSize + i * kBlockSize;
        if (!reader.Read32(at, block.low) || !reader.Read32(at + 4, block.high) ||
            !reader.Read32(at + 8, block.firstEntry)) {
            return false;
        }
        if (block.low <= id && id <= block.high) {
            return true;
        }
    }
    return false;
}

// The offset of message `id`'s entry, walking the block's entries by their lengths.
bool FindEntry(const ByteReader& reader, const Block& block, DWORD id, std::size_t& entry) {
    entry = block.firstEntry;
    for (std::uint32_t current = block.low; current < id; ++current) {
        std::uint32_t length = 0;
        if (!reader.Read16(entry, length) || length < kEntryHeaderSize) {
            return false;
        }
        entry += length;
    }
    return true;
}

void ReadText(const ByteReader& reader, std::size_t from, std::size_t end, std::u16string& text) {
    text.clear();
    std::uint32_t unit = 0;
    for (std::size_t at = from; at + 2 <= end && reader.Read16(at, unit) && unit != 0; at += 2) {
        text.push_back(static_cast<char16_t>(unit));
    }
}

}  // namespace

DWORD FindMessageText(const ResourceData& table, DWORD id, std::u16string& text) {
    const ByteReader reader(table);
    Block block;
    std::size_t entry = 0;
    std::uint32_t length = 0;
    std::uint32_t flags = 0;
    if (!FindBlock(reader, id, block) || !FindEntry(reader, block, id, entry) ||
        !reader.Read16(entry, length) || !reader.Read16(entry + 2, flags) ||
        length < kEntryHeaderSize || reader.Size() - entry < length ||
        (flags & kEntryFlagUtf16) == 0) {
        return ERROR_MR_MID_NOT_FOUND;
    }
    ReadText(reader, entry + kEntryHeaderSize, entry + length, text);
    return text.empty() ? ERROR_MR_MID_NOT_FOUND : ERROR_SUCCESS;
}

}  // namespace hvx::os::detail
