// A module that exports a resource table (a built-in module, or a sibling built from the same
// sources as on POSIX) is read from it; any other through the system's resource API.
#include "platform/resources.h"

#include "platform/common/builtin_modules.h"
#include "platform/common/exported_resources.h"

namespace hvx::os {

bool FindResourceData(HMODULE module, DWORD type, DWORD id, DWORD language, ResourceData& data) {
    // A built-in module's handle means nothing to the system, so it is never passed on.
    const ResourceTable* table = detail::ExportedResourceTable(module);
    if (table != nullptr || detail::IsBuiltinModule(module)) {
        return table != nullptr && detail::FindTableResource(*table, type, id, language, data);
    }
    HRSRC found = ::FindResourceExW(module, MAKEINTRESOURCEW(type), MAKEINTRESOURCEW(id),
                                    static_cast<WORD>(language));
    HGLOBAL loaded = found != nullptr ? ::LoadResource(module, found) : nullptr;
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return false;
    }
    data.bytes = static_cast<const std::uint8_t*>(bytes);
    data.size = ::SizeofResource(module, found);
    return true;
}

}  // namespace hvx::os
