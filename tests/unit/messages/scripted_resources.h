// A module with scripted resources, registered under a name for the life of the object: its
// message table and string blocks are built from texts with the layout writers, as rosta's are.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/module.h"
#include "platform/resource_layout.h"
#include "platform/resources.h"

namespace hvx::test {

class ScriptedResources {
public:
    // Registers `name` as a module that exports `entries` as its resource table.
    ScriptedResources(const char16_t* name, std::vector<os::ResourceEntry> entries)
        : m_name(name), m_entries(std::move(entries)) {
        s_current = this;
        m_table = {m_entries.data(), m_entries.size()};
        os::RegisterBuiltinModule(
            m_name.c_str(), {{os::kResourceTableSymbol, reinterpret_cast<void*>(&ExportedTable)}});
    }
    ~ScriptedResources() {
        os::UnregisterBuiltinModule(m_name.c_str());
        s_current = nullptr;
    }
    ScriptedResources(const ScriptedResources&) = delete;
    ScriptedResources& operator=(const ScriptedResources&) = delete;
    ScriptedResources(ScriptedResources&&) = delete;
    ScriptedResources& operator=(ScriptedResources&&) = delete;

    static std::vector<std::uint8_t> MessageTable(std::span<const os::ResourceText> messages) {
        std::vector<std::uint8_t> bytes(os::MessageTableSize(messages));
        os::WriteMessageTable(messages, bytes);
        return bytes;
    }
    static std::vector<std::uint8_t> StringBlock(std::span<const os::ResourceText> strings,
                                                 DWORD block) {
        std::vector<std::uint8_t> bytes(os::StringBlockSize(strings, block));
        os::WriteStringBlock(strings, block, bytes);
        return bytes;
    }
    static os::ResourceEntry Entry(DWORD type, DWORD id, DWORD language,
                                   const std::vector<std::uint8_t>& bytes) {
        return {type, id, language, bytes.data(), static_cast<DWORD>(bytes.size())};
    }

private:
    static const os::ResourceTable* ExportedTable() { return &s_current->m_table; }

    static inline ScriptedResources* s_current = nullptr;
    std::u16string m_name;
    std::vector<os::ResourceEntry> m_entries;
    os::ResourceTable m_table{};
};

}  // namespace hvx::test
