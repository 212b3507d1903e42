// Every shared object carries its resources as an exported table.
#include "platform/resources.h"

#include "platform/common/exported_resources.h"

namespace hvx::os {

bool FindResourceData(HMODULE module, DWORD type, DWORD id, DWORD language, ResourceData& data) {
    const ResourceTable* table = detail::ExportedResourceTable(module);
    return table != nullptr && detail::FindTableResource(*table, type, id, language, data);
}

}  // namespace hvx::os
