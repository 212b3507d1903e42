// Reads message texts out of fuzzed resources with FormatMessageW, the way result codes find
// their messages in rosta. Two kinds of run, chosen by the first byte:
//
// - raw: a message table of fuzzed bytes, in a fuzzed language; a message found must be a
//   zero-terminated text that fits inside the table;
// - written: a message table that the layout writer builds from fuzzed ids and texts; every
//   message reads back exactly (its text up to the first zero, with the CR LF the writer
//   appends when no zero cuts it short), and an id the table does not hold finds nothing.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/resource_fuzz_entry.h"
#include "fuzz/scripted_module.h"
#include "platform/format_message.h"
#include "platform/last_error.h"
#include "platform/resource_layout.h"
#include "platform/resources.h"
#include "support/module_handle.h"

namespace {

using hvx::fuzz::Check;
namespace os = hvx::os;

constexpr DWORD kFlags =
    FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS;
// Far enough below 2^32 that the ids of a table never wrap.
constexpr DWORD kFirstIdLimit = 0x10000000U;

// The message's text in the module's English table, or nothing with the last error set.
// Messages are asked for in English, as the result codes' messages are.
std::optional<std::u16string> Message(const hvx::ModuleHandle& module, DWORD id) {
    char16_t* raw = nullptr;
    const DWORD length = os::FormatMessageW(kFlags, module.get(), id, os::kLanguageEnglishUs, &raw);
    const os::LocalText text(raw);
    if (length == 0) {
        Check(raw == nullptr);
        return std::nullopt;
    }
    Check(text.get()[length] == u'\0');
    return std::u16string(text.get(), length);
}

}  // namespace

namespace hvx::fuzz {

void RawRun(DWORD id, DWORD language, std::span<const std::uint8_t> bytes) {
    const ScriptedModule module(kModuleName, {{os::kResourceTypeMessageTable,
                                               os::kMessageTableId,
                                               language,
                                               {bytes.begin(), bytes.end()}}});
    const ModuleHandle loaded(os::LoadLibraryW(kModuleName));
    if (const auto message = Message(loaded, id)) {
        Check(!message->empty() && message->find(u'\0') == std::u16string::npos);
        Check(message->size() * 2 < bytes.size());
    }
}

void WrittenRun(FuzzedDataProvider& input) {
    const FuzzedTexts written(
        input, {.maxCount = 12, .maxUnits = 64, .maxIdGap = 3},
        [](FuzzedDataProvider& in) { return in.ConsumeIntegral<DWORD>() % kFirstIdLimit; });
    const std::vector<os::ResourceText>& messages = written.resources;
    const ScriptedModule module(
        kModuleName, {{os::kResourceTypeMessageTable, os::kMessageTableId, os::kLanguageEnglishUs,
                       ScriptedModule::MessageTable(messages)}});
    const ModuleHandle loaded(os::LoadLibraryW(kModuleName));
    for (const os::ResourceText& message : messages) {
        const std::u16string_view text = message.text;
        const std::size_t zero = text.find(u'\0');
        const std::u16string expected = zero == std::u16string_view::npos
                                            ? std::u16string(text) + u"\r\n"
                                            : std::u16string(text.substr(0, zero));
        const auto found = Message(loaded, message.id);
        if (expected.empty()) {
            Check(!found && os::GetLastError() == ERROR_MR_MID_NOT_FOUND);
        } else {
            Check(found == expected);
        }
        const DWORD next = message.id + 1;
        const bool nextWritten = std::any_of(messages.begin(), messages.end(),
                                             [next](const auto& m) { return m.id == next; });
        if (!nextWritten) {
            Check(!Message(loaded, next) && os::GetLastError() == ERROR_MR_MID_NOT_FOUND);
        }
    }
}

}  // namespace hvx::fuzz
