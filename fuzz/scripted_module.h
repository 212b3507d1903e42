// An in-process module whose resource table a fuzz target replaces on every run, so the
// platform's resource lookup, FormatMessageW and LoadString read fuzzed resources through the
// same path as those of a real module. Each resource's bytes sit in a buffer of exactly their
// size, so a read past the end of one is caught by the address sanitizer.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/module.h"
#include "platform/resources.h"

namespace hvx::fuzz {

class ScriptedModule {
public:
    static constexpr const char16_t* kName = u"fuzzed.dll";

    // Registers the module; called once, before the first run.
    static void Register() {
        os::RegisterBuiltinModule(
            kName, {{os::kResourceTableSymbol, reinterpret_cast<void*>(&ExportedTable)}});
    }

    // Adds a resource holding a copy of `bytes`.
    void Add(DWORD type, DWORD id, DWORD language, std::vector<std::uint8_t> bytes) {
        m_buffers.push_back(std::move(bytes));
        const std::vector<std::uint8_t>& stored = m_buffers.back();
        m_entries.push_back({type, id, language, stored.empty() ? nullptr : stored.data(),
                             static_cast<DWORD>(stored.size())});
    }

    // Makes the resources added so far the module's table, for as long as this object lives.
    void Publish() {
        s_table = {m_entries.data(), m_entries.size()};
        s_published = this;
    }

    ScriptedModule() = default;
    ~ScriptedModule() {
        if (s_published == this) {
            s_table = {};
            s_published = nullptr;
        }
    }
    ScriptedModule(const ScriptedModule&) = delete;
    ScriptedModule& operator=(const ScriptedModule&) = delete;
    ScriptedModule(ScriptedModule&&) = delete;
    ScriptedModule& operator=(ScriptedModule&&) = delete;

private:
    static const os::ResourceTable* ExportedTable() { return &s_table; }

    static inline os::ResourceTable s_table{};
    static inline const ScriptedModule* s_published = nullptr;
    // A buffer's data does not move when the outer vector grows.
    std::vector<std::vector<std::uint8_t>> m_buffers;
    std::vector<os::ResourceEntry> m_entries;
};

}  // namespace hvx::fuzz
