// Owns one reference to a loaded module.
#pragma once

#include <memory>
#include <type_traits>

#include "platform/module.h"

namespace hvx {

struct ModuleReleaser {
    void operator()(HMODULE module) const { os::FreeLibrary(module); }
};
using ModuleHandle = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleReleaser>;

// The exported function `symbol` of `module` as a pointer of type Fn, or null.
template <typename Fn>
Fn GetExport(HMODULE module, const char* symbol) {
    return reinterpret_cast<Fn>(os::GetProcAddress(module, symbol));
}

}  // namespace hvx
