// An in-process module of scripted resources, registered under its name for the life of the
// object, so the platform's resource lookup, FormatMessageW and LoadString read them through the
// same path as those of a real module. Each resource's bytes sit in a buffer of exactly their
// size, so a read past the end of one is caught by the address sanitizer. The fuzz targets and
// the message tests share it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/module.h"
#include "platform/resource_layout.h"
#include "platform/resources.h"

namespace hvx::fuzz {

struct ScriptedResource {
    DWORD type;
    DWORD id;
    DWORD language;
    std::vector<std::uint8_t> bytes;
};

class ScriptedModule {
public:
    ScriptedModule(const char16_t* name, std::vector<ScriptedResource> resources)
        : m_name(name), m_resources(std::move(resources)) {
        for (const ScriptedResource& resource : m_resources) {
            const std::vector<std::uint8_t>& bytes = resource.bytes;
            m_entries.push_back({resource.type, resource.id, resource.language,
                                 bytes.empty() ? nullptr : bytes.data(),
                                 static_cast<DWORD>(bytes.size())});
        }
        s_table = {m_entries.data(), m_entries.size()};
        os::RegisterBuiltinModule(
            name, {{os::kResourceTableSymbol, reinterpret_cast<void*>(&ExportedTable)}});
    }
    ~ScriptedModule() {
        os::UnregisterBuiltinModule(m_name.c_str());
        s_table = {};
    }
    ScriptedModule(const ScriptedModule&) = delete;
    ScriptedModule& operator=(const ScriptedModule&) = delete;
    ScriptedModule(ScriptedModule&&) = delete;
    ScriptedModule& operator=(ScriptedModule&&) = delete;

    // Well-formed resources, as the layout writers build rosta's.
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

private:
    static const os::ResourceTable* ExportedTable() { return &s_table; }

    static inline os::ResourceTable s_table{};
    std::u16string m_name;
    std::vector<ScriptedResource> m_resources;
    std::vector<os::ResourceEntry> m_entries;
};

}  // namespace hvx::fuzz
