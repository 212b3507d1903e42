// The system converters, held to code page CP_UTF8 as on every platform.
#include "platform/text.h"

#include "platform/last_error.h"

namespace hvx::os {

int MultiByteToWideChar(UINT codePage, DWORD flags, const char* src, int srcLen, char16_t* dst,
                        int dstLen) {
    if (codePage != CP_UTF8) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return ::MultiByteToWideChar(codePage, flags, src, srcLen, reinterpret_cast<LPWSTR>(dst),
                                 dstLen);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, const char16_t* src, int srcLen, char* dst,
                        int dstLen, const char* defaultChar, BOOL* usedDefaultChar) {
    if (codePage != CP_UTF8) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return ::WideCharToMultiByte(codePage, flags, reinterpret_cast<LPCWCH>(src), srcLen, dst,
                                 dstLen, defaultChar, usedDefaultChar);
}

}  // namespace hvx::os
