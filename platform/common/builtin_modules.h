// The registry of in-process modules behind RegisterBuiltinModule. A registered name keeps one
// handle for the life of the process, even across unregistering and registering again, so a
// handle a caller still holds never points at freed memory.
#pragma once

#include "platform/base_types.h"

namespace hvx::os::detail {

// The handle of the registered module of that name, or null.
[[nodiscard]] HMODULE FindBuiltinModule(const char16_t* name);

[[nodiscard]] bool IsBuiltinModule(HMODULE module);

// True when the name was registered as missing: loading it fails whatever is on disk.
[[nodiscard]] bool IsMissingModule(const char16_t* name);

// The symbol's address in a built-in module; null when the module does not export it (or has
// been unregistered since).
[[nodiscard]] void* FindBuiltinSymbol(HMODULE module, const char* symbol);

}  // namespace hvx::os::detail
