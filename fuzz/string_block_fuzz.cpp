// Reads strings out of fuzzed string-table blocks with hvx::LoadString, the way the product
// name is read from the resource module. Two kinds of run, chosen by the first byte:
//
// - raw: a block of fuzzed bytes, in a fuzzed language; a string found is not empty and fits
//   inside the block, and a failure leaves the output untouched;
// - written: blocks that the layout writer builds from fuzzed ids and strings; every id of a
//   written block reads back exactly its string (an empty or absent one fails), and an id of a
//   block that was not written fails.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/resource_fuzz_entry.h"
#include "fuzz/scripted_module.h"
#include "interfaces/hvx_types.h"
#include "platform/resource_layout.h"
#include "platform/resources.h"
#include "siblings/venit/venit.h"
#include "support/messages.h"

namespace {

using hvx::fuzz::Check;
namespace os = hvx::os;

constexpr std::size_t kMaxStrings = 20;
constexpr std::size_t kMaxTextUnits = 48;
constexpr std::uint32_t kMaxIdGap = 4;
constexpr std::u16string_view kUntouched = u"untouched";

// String `id` of the scripted module; nothing, with the output untouched, when it fails.
std::optional<std::u16string> Load(UINT id) {
    std::u16string text(kUntouched);
    const HRESULT result = hvx::LoadString(hvx::fuzz::ScriptedModule::kName, id, text);
    if (FAILED(result)) {
        Check(result == E_FAIL && text == kUntouched);
        return std::nullopt;
    }
    Check(result == S_OK);
    return text;
}

// A raw run's input: the string id looked up and the language of its block, both
// little-endian, then the block's bytes.
constexpr std::size_t kRawHeaderSize = 6;

}  // namespace

namespace hvx::fuzz {

void RawRun(std::span<const std::uint8_t> input) {
    if (input.size() < kRawHeaderSize) {
        return;
    }
    const UINT id =
        input[0] | (input[1] << 8U) | (input[2] << 16U) | (static_cast<UINT>(input[3]) << 24U);
    const DWORD language = input[4] | (input[5] << 8U);
    const std::span<const std::uint8_t> bytes = input.subspan(kRawHeaderSize);
    hvx::fuzz::ScriptedModule module;
    module.Add(os::kResourceTypeString, os::StringBlockId(id), language,
               std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    module.Publish();
    if (const auto text = Load(id)) {
        Check(!text->empty() && text->size() * 2 + 2 <= bytes.size());
    }
}

std::vector<os::ResourceText> MakeStrings(FuzzedDataProvider& input,
                                          std::vector<std::u16string>& texts) {
    std::vector<os::ResourceText> strings;
    const auto count = input.ConsumeIntegralInRange<std::size_t>(1, kMaxStrings);
    texts.reserve(count);
    UINT id = input.ConsumeIntegral<std::uint16_t>();
    for (std::size_t i = 0; i < count; ++i) {
        std::u16string& text = texts.emplace_back();
        const auto units = input.ConsumeIntegralInRange<std::size_t>(0, kMaxTextUnits);
        for (std::size_t u = 0; u < units; ++u) {
            text.push_back(input.ConsumeBool() ? u'x' : input.ConsumeIntegral<char16_t>());
        }
        strings.push_back({id, text});
        id += input.ConsumeIntegralInRange<std::uint32_t>(1, kMaxIdGap);
    }
    return strings;
}

void WrittenRun(FuzzedDataProvider& input) {
    std::vector<std::u16string> texts;
    const std::vector<os::ResourceText> strings = MakeStrings(input, texts);
    std::set<DWORD> blocks;
    for (const os::ResourceText& string : strings) {
        blocks.insert(os::StringBlockId(string.id));
    }
    hvx::fuzz::ScriptedModule module;
    for (const DWORD block : blocks) {
        std::vector<std::uint8_t> bytes(os::StringBlockSize(strings, block));
        os::WriteStringBlock(strings, block, bytes);
        module.Add(os::kResourceTypeString, block, os::kLanguageEnglishUs, std::move(bytes));
    }
    module.Publish();

    const UINT first = (*blocks.begin() - 1) * os::kStringsPerBlock;
    const UINT end = (*blocks.rbegin() + 1) * os::kStringsPerBlock;
    for (UINT id = first; id < end; ++id) {
        const auto given = std::find_if(strings.begin(), strings.end(),
                                        [id](const os::ResourceText& s) { return s.id == id; });
        const auto found = Load(id);
        if (given == strings.end() || given->text.empty()) {
            Check(!found);
        } else {
            Check(found == given->text);
        }
    }
}

}  // namespace hvx::fuzz
