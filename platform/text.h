// UTF-8 / UTF-16 conversion with the semantics of MultiByteToWideChar and WideCharToMultiByte
// for code page CP_UTF8 (the only code page supported; others fail with
// ERROR_INVALID_PARAMETER).
//
// - A source length of -1 means "up to and including the first zero"; the zero is converted and
//   counted. Otherwise exactly srcLen units are converted (embedded zeros included).
// - A destination length of 0 asks for the length only.
// - MultiByteToWideChar with MB_ERR_INVALID_CHARS rejects invalid UTF-8 (overlong forms,
//   surrogates, code points above U+10FFFF, truncated sequences) with
//   ERROR_NO_UNICODE_TRANSLATION; without it each invalid sequence becomes U+FFFD.
// - WideCharToMultiByte writes a lone surrogate as U+FFFD (EF BF BD), or fails with
//   ERROR_NO_UNICODE_TRANSLATION when WC_ERR_INVALID_CHARS is given.
// - A destination that is too small fails with ERROR_INSUFFICIENT_BUFFER.
// - A source length of 0, a null source, or (WideCharToMultiByte) a default character or its
//   flag output fail with ERROR_INVALID_PARAMETER; other flags with ERROR_INVALID_FLAGS.
// Results: the number of units written (or needed), 0 on failure.
#pragma once

#include "platform/base_types.h"

namespace hvx::os {

int MultiByteToWideChar(UINT codePage, DWORD flags, const char* src, int srcLen, char16_t* dst,
                        int dstLen);

int WideCharToMultiByte(UINT codePage, DWORD flags, const char16_t* src, int srcLen, char* dst,
                        int dstLen, const char* defaultChar, BOOL* usedDefaultChar);

}  // namespace hvx::os
