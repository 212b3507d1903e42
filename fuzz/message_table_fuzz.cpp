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
#include "siblings/venit/venit.h"

namespace {

using hvx::fuzz::Check;
namespace os = hvx::os;

constexpr DWORD kFlags =
    FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS;
constexpr std::size_t kMaxMessages = 12;
constexpr std::size_t kMaxTextUnits = 64;
constexpr std::uint32_t kMaxIdGap = 3;
// Far enough below 2^32 that the ids of a table never wrap.
constexpr DWORD kFirstIdLimit = 0x10000000U;

// The module, loaded for one run.
class LoadedModule {
public:
    LoadedModule() : m_module(os::LoadLibraryW(hvx::fuzz::ScriptedModule::kName)) {}
    ~LoadedModule() { os::FreeLibrary(m_module); }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;
    LoadedModule(LoadedModule&&) = delete;
    LoadedModule& operator=(LoadedModule&&) = delete;

    // The message's text, or nothing with the last error set.
    std::optional<std::u16string> Message(DWORD id, DWORD language) const {
        char16_t* raw = nullptr;
        const DWORD length = os::FormatMessageW(kFlags, m_module, id, language, &raw);
        const os::LocalText text(raw);
        if (length == 0) {
            Check(raw == nullptr);
            return std::nullopt;
        }
        Check(text.get()[length] == u'\0');
        return std::u16string(text.get(), length);
    }

private:
    HMODULE m_module;
};

// A raw run's input: the id looked up and the language of the one message table, both
// little-endian, then the table's bytes.
constexpr std::size_t kRawHeaderSize = 6;

}  // namespace

namespace hvx::fuzz {

void RawRun(std::span<const std::uint8_t> input) {
    if (input.size() < kRawHeaderSize) {
        return;
    }
    const DWORD id =
        input[0] | (input[1] << 8U) | (input[2] << 16U) | (static_cast<DWORD>(input[3]) << 24U);
    const DWORD language = input[4] | (input[5] << 8U);
    const std::span<const std::uint8_t> bytes = input.subspan(kRawHeaderSize);
    hvx::fuzz::ScriptedModule module;
    module.Add(os::kResourceTypeMessageTable, os::kMessageTableId, language,
               std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    module.Publish();
    // Messages are asked for in English, as the result codes' messages are.
    const LoadedModule loaded;
    if (const auto message = loaded.Message(id, os::kLanguageEnglishUs)) {
        Check(!message->empty() && message->find(u'\0') == std::u16string::npos);
        Check(message->size() * 2 < bytes.size());
    }
}

// Fuzzed messages in ascending order of id, with gaps now and then.
struct WrittenMessages {
    std::vector<std::u16string> texts;
    std::vector<os::ResourceText> messages;
};

WrittenMessages MakeMessages(FuzzedDataProvider& input) {
    WrittenMessages written;
    const auto count = input.ConsumeIntegralInRange<std::size_t>(1, kMaxMessages);
    written.texts.reserve(count);
    DWORD id = input.ConsumeIntegral<DWORD>() % kFirstIdLimit;
    for (std::size_t i = 0; i < count; ++i) {
        std::u16string& text = written.texts.emplace_back();
        const auto units = input.ConsumeIntegralInRange<std::size_t>(0, kMaxTextUnits);
        for (std::size_t u = 0; u < units; ++u) {
            text.push_back(input.ConsumeBool() ? u'a' : input.ConsumeIntegral<char16_t>());
        }
        written.messages.push_back({id, text});
        id += input.ConsumeIntegralInRange<std::uint32_t>(1, kMaxIdGap);
    }
    return written;
}

void WrittenRun(FuzzedDataProvider& input) {
    const WrittenMessages written = MakeMessages(input);
    std::vector<std::uint8_t> table(os::MessageTableSize(written.messages));
    os::WriteMessageTable(written.messages, table);
    hvx::fuzz::ScriptedModule module;
    module.Add(os::kResourceTypeMessageTable, os::kMessageTableId, os::kLanguageEnglishUs,
               std::move(table));
    module.Publish();

    const LoadedModule loaded;
    for (const os::ResourceText& message : written.messages) {
        const std::u16string_view text = message.text;
        const std::size_t zero = text.find(u'\0');
        const std::u16string expected = zero == std::u16string_view::npos
                                            ? std::u16string(text) + u"\r\n"
                                            : std::u16string(text.substr(0, zero));
        const auto found = loaded.Message(message.id, os::kLanguageEnglishUs);
        if (expected.empty()) {
            Check(!found && os::GetLastError() == ERROR_MR_MID_NOT_FOUND);
        } else {
            Check(found == expected);
        }
        const DWORD next = message.id + 1;
        const bool nextWritten = std::any_of(written.messages.begin(), written.messages.end(),
                                             [next](const auto& m) { return m.id == next; });
        if (!nextWritten) {
            Check(!loaded.Message(next, os::kLanguageEnglishUs) &&
                  os::GetLastError() == ERROR_MR_MID_NOT_FOUND);
        }
    }
}

}  // namespace hvx::fuzz
