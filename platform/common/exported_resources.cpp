#include "platform/common/exported_resources.h"

#include <span>

#include "platform/last_error.h"
#include "platform/module.h"

namespace hvx::os::detail {

namespace {

bool IsNeutral(DWORD language) {
    return (language & kPrimaryLanguageMask) == 0;
}

// The candidates for one type and id, in the order a neutral request takes them.
struct Candidates {
    bool typeSeen = false;
    const ResourceEntry* exact = nullptr;
    const ResourceEntry* neutral = nullptr;
    const ResourceEntry* english = nullptr;
    const ResourceEntry* any = nullptr;

    [[nodiscard]] const ResourceEntry* Choose(DWORD language) const {
        if (exact != nullptr || !IsNeutral(language)) {
            return exact;
        }
        if (neutral != nullptr) {
            return neutral;
        }
        return english != nullptr ? english : any;
    }
    [[nodiscard]] DWORD Missing() const {
        if (!typeSeen) {
            return ERROR_RESOURCE_TYPE_NOT_FOUND;
        }
        return any == nullptr ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_LANG_NOT_FOUND;
    }
};

Candidates Collect(const ResourceTable& table, DWORD type, DWORD id, DWORD language) {
    Candidates found;
    const std::span<const ResourceEntry> entries(table.entries, table.count);
    for (const ResourceEntry& entry : entries) {
        if (entry.type != type) {
            continue;
        }
        found.typeSeen = true;
        if (entry.id != id) {
            continue;
        }
        const auto keep = [&entry](const ResourceEntry*& slot) {
            if (slot == nullptr) {
                slot = &entry;
            }
        };
        if (entry.language == language) {
            keep(found.exact);
        }
        if (entry.language == kLanguageNeutral) {
            keep(found.neutral);
        }
        if (entry.language == kLanguageEnglishUs) {
            keep(found.english);
        }
        keep(found.any);
    }
    return found;
}

}  // namespace

const ResourceTable* ExportedResourceTable(HMODULE module) {
    const auto exported =
        reinterpret_cast<ResourceTableFn>(os::GetProcAddress(module, kResourceTableSymbol));
    if (exported == nullptr) {
        if (os::GetLastError() != ERROR_INVALID_HANDLE) {
            os::SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        }
        return nullptr;
    }
    const ResourceTable* table = exported();
    if (table == nullptr || (table->entries == nullptr && table->count != 0)) {
        os::SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    return table;
}

bool FindTableResource(const ResourceTable& table, DWORD type, DWORD id, DWORD language,
                       ResourceData& data) {
    const Candidates found = Collect(table, type, id, language);
    const ResourceEntry* entry = found.Choose(language);
    if (entry == nullptr) {
        os::SetLastError(found.Missing());
        return false;
    }
    data.bytes = entry->bytes;
    data.size = entry->bytes != nullptr ? entry->size : 0;
    return true;
}

}  // namespace hvx::os::detail
