#include "siblings/venit/text_convert.h"

#include "platform/text.h"

namespace venit::detail {
namespace {

// The platform conversions take int lengths; longer texts go through in pieces of this size.
constexpr std::size_t kChunkUnits = std::size_t{1} << 20;
// A UTF-8 sequence has at most three continuation bytes.
constexpr std::size_t kMaxContinuationBytes = 3;

bool IsContinuationByte(char unit) {
    return (static_cast<unsigned char>(unit) & 0xC0U) == 0x80U;
}
bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void AppendChunk(std::u16string& out, std::string_view chunk) {
    const int size = static_cast<int>(chunk.size());
    const int needed = hvx::os::MultiByteToWideChar(CP_UTF8, 0, chunk.data(), size, nullptr, 0);
    if (needed <= 0) {
        return;
    }
    const std::size_t old = out.size();
    out.resize(old + static_cast<std::size_t>(needed));
    const int written =
        hvx::os::MultiByteToWideChar(CP_UTF8, 0, chunk.data(), size, out.data() + old, needed);
    out.resize(old + static_cast<std::size_t>(written > 0 ? written : 0));
}

void AppendChunk(std::string& out, std::u16string_view chunk) {
    const int size = static_cast<int>(chunk.size());
    const int needed =
        hvx::os::WideCharToMultiByte(CP_UTF8, 0, chunk.data(), size, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) {
        return;
    }
    const std::size_t old = out.size();
    out.resize(old + static_cast<std::size_t>(needed));
    const int written = hvx::os::WideCharToMultiByte(CP_UTF8, 0, chunk.data(), size,
                                                     out.data() + old, needed, nullptr, nullptr);
    out.resize(old + static_cast<std::size_t>(written > 0 ? written : 0));
}

template <typename Out, typename In>
void AppendInChunks(Out& out, In text) {
    while (!text.empty()) {
        // Never empty: a boundary lies within a few units of any cut.
        const std::size_t take = PrefixAtBoundary(text, kChunkUnits);
        AppendChunk(out, text.substr(0, take));
        text.remove_prefix(take);
    }
}

}  // namespace

std::size_t PrefixAtBoundary(std::string_view text, std::size_t limit) {
    if (limit >= text.size()) {
        return text.size();
    }
    for (std::size_t back = 0; back <= kMaxContinuationBytes && back <= limit; ++back) {
        if (!IsContinuationByte(text[limit - back])) {
            return limit - back;
        }
    }
    return limit;
}

std::size_t PrefixAtBoundary(std::u16string_view text, std::size_t limit) {
    if (limit >= text.size()) {
        return text.size();
    }
    if (limit > 0 && IsLowSurrogate(text[limit]) && IsHighSurrogate(text[limit - 1])) {
        return limit - 1;
    }
    return limit;
}

void AppendUtf8AsUtf16(std::u16string& out, std::string_view text) {
    AppendInChunks(out, text);
}

void AppendUtf16AsUtf8(std::string& out, std::u16string_view text) {
    AppendInChunks(out, text);
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    AppendUtf8AsUtf16(out, text);
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    AppendUtf16AsUtf8(out, text);
    return out;
}

}  // namespace venit::detail
