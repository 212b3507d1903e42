#include "platform/text.h"

#include <climits>
#include <cstring>
#include <string>

#include "platform/common/utf_convert.h"
#include "platform/last_error.h"

namespace hvx::os {

namespace {

// The checks both directions share. On success `length` is the number of source units to read.
template <typename Unit, typename Out>
[[nodiscard]] DWORD CheckArguments(UINT codePage, const Unit* src, int srcLen, const Out* dst,
                                   int dstLen, std::size_t& length) {
    if (codePage != CP_UTF8 || src == nullptr || srcLen == 0 || srcLen < -1 || dstLen < 0 ||
        (dst == nullptr && dstLen > 0)) {
        return ERROR_INVALID_PARAMETER;
    }
    length =
        srcLen == -1 ? std::char_traits<Unit>::length(src) + 1 : static_cast<std::size_t>(srcLen);
    return length > INT_MAX ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
}

int Finish(detail::ConversionResult result) {
    if (result.error != ERROR_SUCCESS) {
        SetLastError(result.error);
        return 0;
    }
    return result.count;
}

int Fail(DWORD error) {
    SetLastError(error);
    return 0;
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, const char* src, int srcLen, char16_t* dst,
                        int dstLen) {
    std::size_t length = 0;
    if (const DWORD error = CheckArguments(codePage, src, srcLen, dst, dstLen, length);
        error != ERROR_SUCCESS) {
        return Fail(error);
    }
    if ((flags & ~static_cast<DWORD>(MB_ERR_INVALID_CHARS)) != 0) {
        return Fail(ERROR_INVALID_FLAGS);
    }
    const bool strict = (flags & MB_ERR_INVALID_CHARS) != 0;
    return Finish(detail::Utf8ToUtf16(src, length, strict, dstLen == 0 ? nullptr : dst, dstLen));
}

// The flag output is Win32's: never written for CP_UTF8, where it must be null.
// NOLINTBEGIN(readability-non-const-parameter)
int WideCharToMultiByte(UINT codePage, DWORD flags, const char16_t* src, int srcLen, char* dst,
                        int dstLen, const char* defaultChar, BOOL* usedDefaultChar) {
    // NOLINTEND(readability-non-const-parameter)
    std::size_t length = 0;
    if (const DWORD error = CheckArguments(codePage, src, srcLen, dst, dstLen, length);
        error != ERROR_SUCCESS) {
        return Fail(error);
    }
    // UTF-8 can encode everything, so a default character has no meaning here.
    if (defaultChar != nullptr || usedDefaultChar != nullptr) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if ((flags & ~static_cast<DWORD>(WC_ERR_INVALID_CHARS)) != 0) {
        return Fail(ERROR_INVALID_FLAGS);
    }
    const bool strict = (flags & WC_ERR_INVALID_CHARS) != 0;
    return Finish(detail::Utf16ToUtf8(src, length, strict, dstLen == 0 ? nullptr : dst, dstLen));
}

}  // namespace hvx::os
