#include <string>
#include <utility>

#include "support/messages.h"
#include "support/resource_dll_name_hook.h"

namespace hvx {

namespace {

// Set to empty by static initialisation, when the library is loaded, and only read after that,
// so it needs no lock.
std::u16string g_resourceDllName;

}  // namespace

std::u16string GetResourceDllName() {
    return g_resourceDllName;
}

void SetResourceDllNameForTests(std::u16string name) {
    g_resourceDllName = std::move(name);
}

}  // namespace hvx
