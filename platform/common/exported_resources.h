// Resources that a module exports as a table under kResourceTableSymbol (resources.h).
#pragma once

#include "platform/base_types.h"
#include "platform/resources.h"

namespace hvx::os::detail {

// The module's exported table, or null with the last error set: ERROR_INVALID_HANDLE for a
// handle LoadLibraryW did not hand out, ERROR_RESOURCE_DATA_NOT_FOUND when the module exports
// no table.
[[nodiscard]] const ResourceTable* ExportedResourceTable(HMODULE module);

// Locates (type, id) in the table with the language rules of resources.h; false with the last
// error set when it is not there.
[[nodiscard]] bool FindTableResource(const ResourceTable& table, DWORD type, DWORD id,
                                     DWORD language, ResourceData& data);

}  // namespace hvx::os::detail
