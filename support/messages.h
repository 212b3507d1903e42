// Readable texts for result codes and system error numbers, and the strings of resource
// modules. Stateless apart from the process-wide resource-module name, which nothing in the
// library sets; safe on any thread.
#pragma once

#include <string>

#include "platform/base_types.h"

namespace hvx {

// The message of a result code from the message table of "rosta.dll" (English, 1033).
//   0 and the message, line end included. The two codes whose message names the product have
//     the name of string IDS_HALVEX_PROTECT of the resource module (GetResourceDllName) put in.
//   E_FAIL, logged, output untouched: rosta cannot be loaded; the product name cannot be read
//     (while no resource module is named, always) or formatted.
//   E_FAIL, logged, with the output set to ". Could not create error string for 0x<code>. [<the
//     system text of the lookup's error>].": rosta has no message for the code.
[[nodiscard]] HRESULT GetHvxHrMsg(HRESULT code, std::u16string& message);

// The system's text of a Win32 error number.
//   0 and the text as the system gives it (its line end included) followed by "(<error>)".
//   E_NOTIMPL and "Error <error>. FormatMessage failed, error: <lookup's error>" when the system
//     has no text for it.
[[nodiscard]] HRESULT GetSystemErrorText(DWORD error, std::u16string& text);

// String `id` of the module named `moduleName`, read from its string table.
//   0 and the string; E_FAIL (output untouched) when the module cannot be loaded, has no block
//   for the id, the block ends before the string, or the string is empty.
[[nodiscard]] HRESULT LoadString(const std::u16string& moduleName, UINT id, std::u16string& text);

// A copy of the process-wide resource-module name: the module whose string table holds the
// product name. Empty from the library's load on.
std::u16string GetResourceDllName();

}  // namespace hvx
