// The resources of a module: its string tables (type 6) and its message table (type 11), read
// with the semantics of FindResourceW + LoadResource + LockResource + SizeofResource, narrowed
// to one call.
//
// A module that exports kResourceTableSymbol is read from that table on every system; that is
// how shared objects carry resources on POSIX, and how a test scripts a module's resources
// through RegisterBuiltinModule. On Windows every other module is read through the system's
// resource API. The bytes are in the Windows layouts (resource_layout.h writes them), so the
// code that walks them is the same everywhere.
//
// Failures set the thread's last error:
//   ERROR_INVALID_HANDLE            the handle did not come from LoadLibraryW
//   ERROR_RESOURCE_DATA_NOT_FOUND   the module carries no resources at all
//   ERROR_RESOURCE_TYPE_NOT_FOUND   none of that type
//   ERROR_RESOURCE_NAME_NOT_FOUND   none of that type and id
//   ERROR_RESOURCE_LANG_NOT_FOUND   that type and id, but not in the language asked for
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/base_types.h"

#if !defined(_WIN32)
// NOLINTBEGIN(cppcoreguidelines-macro-usage)
#define ERROR_RESOURCE_LANG_NOT_FOUND 1815L
// NOLINTEND(cppcoreguidelines-macro-usage)
#endif

namespace hvx::os {

// RT_STRING and RT_MESSAGETABLE.
inline constexpr DWORD kResourceTypeString = 6;
inline constexpr DWORD kResourceTypeMessageTable = 11;
// The one message table of a module has this id, as the resource compiler numbers it.
inline constexpr DWORD kMessageTableId = 1;

// Language ids. A language whose primary part is neutral (the low ten bits are 0) asks for the
// system's choice: an exact match first, then the neutral resource, then English (United
// States), then any. Any other language is matched exactly.
inline constexpr DWORD kLanguageNeutral = 0x0000;      // LANG_NEUTRAL, SUBLANG_NEUTRAL
inline constexpr DWORD kLanguageUserDefault = 0x0400;  // LANG_NEUTRAL, SUBLANG_DEFAULT
inline constexpr DWORD kLanguageEnglishUs = 0x0409;    // 1033
inline constexpr DWORD kPrimaryLanguageMask = 0x03FF;

// One resource of a module's exported table. The bytes live as long as the module is loaded.
struct ResourceEntry {
    DWORD type;
    DWORD id;
    DWORD language;
    const std::uint8_t* bytes;
    DWORD size;
};

struct ResourceTable {
    const ResourceEntry* entries;
    std::size_t count;
};

// The well-known export: extern "C" const ResourceTable* HvxModuleResources().
inline constexpr const char* kResourceTableSymbol = "HvxModuleResources";
using ResourceTableFn = const ResourceTable* (*)();

// A located resource, valid while the module stays loaded.
struct ResourceData {
    const std::uint8_t* bytes = nullptr;
    DWORD size = 0;
};

// Locates resource (type, id) of the module in the language (see above). false, with the last
// error set, when it is not there.
[[nodiscard]] bool FindResourceData(HMODULE module, DWORD type, DWORD id, DWORD language,
                                    ResourceData& data);

}  // namespace hvx::os
