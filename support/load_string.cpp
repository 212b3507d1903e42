#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "platform/resource_layout.h"
#include "platform/resources.h"
#include "support/messages.h"
#include "support/module_handle.h"

namespace hvx {

namespace {

// Entry `index` of a string-table block: each entry is a 16-bit length and that many UTF-16
// units. false when the block ends first.
bool ReadBlockEntry(const os::ResourceData& block, DWORD index, std::u16string& text) {
    const auto unitAt = [&block](std::size_t at) {
        return static_cast<char16_t>(block.bytes[at] | (block.bytes[at + 1] << 8));
    };
    std::size_t at = 0;
    for (DWORD entry = 0;; ++entry) {
        if (block.bytes == nullptr || block.size < at + 2) {
            return false;
        }
        const std::size_t length = unitAt(at);
        at += 2;
        if (entry == index) {
            if (block.size - at < length * 2) {
                return false;
            }
            text.clear();
            for (std::size_t i = 0; i < length; ++i) {
                text.push_back(unitAt(at + i * 2));
            }
            return true;
        }
        at += length * 2;
    }
}

}  // namespace

HRESULT LoadString(const std::u16string& moduleName, UINT id, std::u16string& text) {
    const ModuleHandle module(os::LoadLibraryW(moduleName.c_str()));
    if (!module) {
        return E_FAIL;
    }
    os::ResourceData block;
    std::u16string found;
    if (!os::FindResourceData(module.get(), os::kResourceTypeString, os::StringBlockId(id),
                              os::kLanguageNeutral, block) ||
        !ReadBlockEntry(block, id % os::kStringsPerBlock, found) || found.empty()) {
        return E_FAIL;
    }
    text = std::move(found);
    return S_OK;
}

}  // namespace hvx
