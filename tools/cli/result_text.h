// Readable result codes. The texts come from the agent's message table, the sibling library
// rosta ("rosta.dll"), read through the platform layer's FormatMessageW: libcaspo exports no
// messages.
#pragma once

#include <string>

#include "platform/base_types.h"

namespace hvx::cli {

// The code as eight upper-case hexadecimal digits: "0xC1050007".
std::string ResultHex(HRESULT code);

// The message of `code` in English, on one line: rosta's text, else (for 0 and for a Win32 error
// carried as 0x8007xxxx) the system's text of the error number. Empty when none has one.
std::string ResultMessage(HRESULT code);

// The system's text of a Win32 error number; empty when it has none.
std::string SystemMessage(DWORD error);

}  // namespace hvx::cli
