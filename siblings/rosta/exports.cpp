// Exports rosta's message table and string block (tables.h) as the module's resource table.
#include <array>

#include "platform/resources.h"
#include "siblings/rosta/tables.h"

namespace hvx::rosta {

namespace {

constexpr std::array kEntries = std::to_array<os::ResourceEntry>({
    {os::kResourceTypeMessageTable, os::kMessageTableId, os::kLanguageEnglishUs,
     kMessageTable.data(), static_cast<DWORD>(kMessageTable.size())},
    {os::kResourceTypeString, kProductNameBlock, os::kLanguageEnglishUs, kProductNameStrings.data(),
     static_cast<DWORD>(kProductNameStrings.size())},
});

constexpr os::ResourceTable kResources{kEntries.data(), kEntries.size()};

}  // namespace

}  // namespace hvx::rosta

extern "C" HVX_DLL_EXPORT const hvx::os::ResourceTable* HvxModuleResources() {
    return &hvx::rosta::kResources;
}
