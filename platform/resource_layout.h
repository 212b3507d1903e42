// Writers of the Windows binary layouts of a message table and of a string-table block, usable
// at compile time, so a module's resources are built from readable texts:
//
//   constexpr std::array kTexts = std::to_array<os::ResourceText>({{1, u"One"}, {2, u"Two"}});
//   constexpr auto kTable = os::MessageTableBytes<os::MessageTableSize(kTexts)>(kTexts);
//
// Message table (MESSAGE_RESOURCE_DATA): a 32-bit block count; per block the lowest id, the
// highest id and the offset of its first entry (32 bits each); then the entries, each a 16-bit
// length (of the whole entry), 16-bit flags (1: UTF-16 text) and the zero-terminated text,
// padded with zeros to a multiple of 4 bytes. Ids that follow each other share a block. Every
// text gets CR LF appended, as the message compiler does.
//
// String-table block n holds strings (n - 1) * 16 to n * 16 - 1, each a 16-bit length and that
// many UTF-16 units, without a terminating zero; a string that is not given is empty.
//
// All values are little-endian. Texts must be given in ascending order of id, each id once;
// anything else (or a text too long for its length field) does not compile in a constant
// expression and throws std::invalid_argument at run time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string_view>

#include "platform/base_types.h"

namespace hvx::os {

struct ResourceText {
    DWORD id;
    std::u16string_view text;
};

inline constexpr DWORD kStringsPerBlock = 16;

// The block of string table that holds string `stringId`.
constexpr DWORD StringBlockId(DWORD stringId) {
    return stringId / kStringsPerBlock + 1;
}

namespace layout {

inline constexpr std::size_t kBlockCountSize = 4;
inline constexpr std::size_t kBlockSize = 12;
inline constexpr std::size_t kEntryHeaderSize = 4;
inline constexpr std::size_t kEntryAlignment = 4;
inline constexpr std::uint16_t kEntryFlagUtf16 = 1;
inline constexpr std::u16string_view kLineEnd = u"\r\n";
inline constexpr std::size_t kMaxUnit16 = 0xFFFF;

constexpr void CheckOrder(std::span<const ResourceText> texts) {
    for (std::size_t i = 1; i < texts.size(); ++i) {
        if (texts[i].id <= texts[i - 1].id) {
            throw std::invalid_argument("resource texts must be in ascending order of id");
        }
    }
}

constexpr std::size_t EntrySize(std::u16string_view text) {
    const std::size_t bytes = kEntryHeaderSize + (text.size() + kLineEnd.size() + 1) * 2;
    const std::size_t padded = (bytes + kEntryAlignment - 1) / kEntryAlignment * kEntryAlignment;
    if (padded > kMaxUnit16) {
        throw std::invalid_argument("message text too long");
    }
    return padded;
}

constexpr std::size_t BlockCount(std::span<const ResourceText> texts) {
    std::size_t blocks = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i == 0 || texts[i].id != texts[i - 1].id + 1) {
            ++blocks;
        }
    }
    return blocks;
}

// Writes little-endian values and text into a byte span, front to back.
class ByteWriter {
public:
    constexpr explicit ByteWriter(std::span<std::uint8_t> out) : m_out(out) {}

    constexpr void Put16(std::size_t at, std::uint32_t value) {
        m_out[at] = static_cast<std::uint8_t>(value & 0xFFu);
        m_out[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFFu);
    }
    constexpr void Put32(std::size_t at, std::uint32_t value) {
        Put16(at, value & 0xFFFFu);
        Put16(at + 2, value >> 16);
    }
    // Returns the offset after the text.
    constexpr std::size_t PutText(std::size_t at, std::u16string_view text) {
        for (const char16_t unit : text) {
            Put16(at, unit);
            at += 2;
        }
        return at;
    }

private:
    std::span<std::uint8_t> m_out;
};

}  // namespace layout

constexpr std::size_t MessageTableSize(std::span<const ResourceText> messages) {
    layout::CheckOrder(messages);
    std::size_t size = layout::kBlockCountSize + layout::BlockCount(messages) * layout::kBlockSize;
    for (const ResourceText& message : messages) {
        size += layout::EntrySize(message.text);
    }
    return size;
}

// `out` must be MessageTableSize(messages) bytes, zero-filled.
constexpr void WriteMessageTable(std::span<const ResourceText> messages,
                                 std::span<std::uint8_t> out) {
    layout::ByteWriter writer(out);
    const std::size_t blocks = layout::BlockCount(messages);
    writer.Put32(0, static_cast<std::uint32_t>(blocks));
    std::size_t nextBlock = layout::kBlockCountSize;
    std::size_t blockAt = nextBlock;
    std::size_t entry = layout::kBlockCountSize + blocks * layout::kBlockSize;
    for (std::size_t i = 0; i < messages.size(); ++i) {
        if (i == 0 || messages[i].id != messages[i - 1].id + 1) {
            blockAt = nextBlock;
            nextBlock += layout::kBlockSize;
            writer.Put32(blockAt, messages[i].id);
            writer.Put32(blockAt + 8, static_cast<std::uint32_t>(entry));
        }
        writer.Put32(blockAt + 4, messages[i].id);
        const std::size_t size = layout::EntrySize(messages[i].text);
        writer.Put16(entry, static_cast<std::uint32_t>(size));
        writer.Put16(entry + 2, layout::kEntryFlagUtf16);
        writer.PutText(writer.PutText(entry + layout::kEntryHeaderSize, messages[i].text),
                       layout::kLineEnd);
        entry += size;
    }
}

template <std::size_t Size>
constexpr std::array<std::uint8_t, Size> MessageTableBytes(std::span<const ResourceText> messages) {
    std::array<std::uint8_t, Size> bytes{};
    if (MessageTableSize(messages) != Size) {
        throw std::invalid_argument("message table size does not match its texts");
    }
    WriteMessageTable(messages, bytes);
    return bytes;
}

// Strings of other blocks are left out.
constexpr std::size_t StringBlockSize(std::span<const ResourceText> strings, DWORD blockId) {
    layout::CheckOrder(strings);
    std::size_t size = std::size_t{kStringsPerBlock} * 2;
    for (const ResourceText& string : strings) {
        if (StringBlockId(string.id) == blockId) {
            if (string.text.size() > layout::kMaxUnit16) {
                throw std::invalid_argument("string too long");
            }
            size += string.text.size() * 2;
        }
    }
    return size;
}

// `out` must be StringBlockSize(strings, blockId) bytes, zero-filled.
constexpr void WriteStringBlock(std::span<const ResourceText> strings, DWORD blockId,
                                std::span<std::uint8_t> out) {
    layout::ByteWriter writer(out);
    std::size_t at = 0;
    const DWORD first = (blockId - 1) * kStringsPerBlock;
    for (DWORD id = first; id < first + kStringsPerBlock; ++id) {
        std::u16string_view text;
        for (const ResourceText& string : strings) {
            if (string.id == id) {
                text = string.text;
            }
        }
        writer.Put16(at, static_cast<std::uint32_t>(text.size()));
        at = writer.PutText(at + 2, text);
    }
}

template <std::size_t Size>
constexpr std::array<std::uint8_t, Size> StringBlockBytes(std::span<const ResourceText> strings,
                                                          DWORD blockId) {
    std::array<std::uint8_t, Size> bytes{};
    if (StringBlockSize(strings, blockId) != Size) {
        throw std::invalid_argument("string block size does not match its strings");
    }
    WriteStringBlock(strings, blockId, bytes);
    return bytes;
}

}  // namespace hvx::os
