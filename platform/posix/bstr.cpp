// Layout: a 32-bit byte count, the UTF-16 text, a zero unit. The pointer handed out points at
// the text, so the count sits in the four bytes before it, as with the OLE allocator.
#include "platform/bstr.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace hvx::os {

namespace {

using ByteCount = std::uint32_t;
constexpr std::size_t kPrefixSize = sizeof(ByteCount);
constexpr std::size_t kUnitSize = sizeof(char16_t);
// The largest length whose byte count, prefix and terminator still fit the 32-bit prefix.
constexpr UINT kMaxLength =
    (std::numeric_limits<ByteCount>::max() - kPrefixSize - kUnitSize) / kUnitSize;

unsigned char* BlockOf(BSTR text) {
    return reinterpret_cast<unsigned char*>(text) - kPrefixSize;
}

}  // namespace

BSTR SysAllocStringLen(const char16_t* text, UINT length) {
    if (length > kMaxLength) {
        return nullptr;
    }
    const std::size_t bytes = std::size_t{length} * kUnitSize;
    auto* block = static_cast<unsigned char*>(std::malloc(kPrefixSize + bytes + kUnitSize));
    if (block == nullptr) {
        return nullptr;
    }
    const auto byteCount = static_cast<ByteCount>(bytes);
    std::memcpy(block, &byteCount, kPrefixSize);
    auto* result = reinterpret_cast<BSTR>(block + kPrefixSize);
    if (text != nullptr) {
        std::memcpy(result, text, bytes);
    } else {
        std::memset(result, 0, bytes);
    }
    result[length] = u'\0';
    return result;
}

BSTR SysAllocString(const char16_t* text) {
    if (text == nullptr) {
        return nullptr;
    }
    const std::size_t length = std::char_traits<char16_t>::length(text);
    if (length > kMaxLength) {
        return nullptr;
    }
    return SysAllocStringLen(text, static_cast<UINT>(length));
}

UINT SysStringLen(BSTR text) {
    if (text == nullptr) {
        return 0;
    }
    ByteCount byteCount = 0;
    std::memcpy(&byteCount, BlockOf(text), kPrefixSize);
    return byteCount / kUnitSize;
}

void SysFreeString(BSTR text) {
    if (text != nullptr) {
        std::free(BlockOf(text));
    }
}

}  // namespace hvx::os
