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
#include "support/messages.h"

namespace {

using hvx::fuzz::Check;

constexpr std::u16string_view kUntouched = u"untouched";

// String `id` of the scripted module; nothing, with the output untouched, when it fails.
std::optional<std::u16string> Load(UINT id) {
    std::u16string text(kUntouched);
    const HRESULT result = hvx::LoadString(hvx::fuzz::kModuleName, id, text);
    if (FAILED(result)) {
        Check(result == E_FAIL && text == kUntouched);
        return std::nullopt;
    }
    Check(result == S_OK);
    return text;
}

}  // namespace

namespace hvx::fuzz {

void RawRun(DWORD id, DWORD language, std::span<const std::uint8_t> bytes) {
    const ScriptedModule module(
        kModuleName,
        {{os::kResourceTypeString, os::StringBlockId(id), language, {bytes.begin(), bytes.end()}}});
    if (const auto text = Load(id)) {
        Check(!text->empty() && text->size() * 2 + 2 <= bytes.size());
    }
}

void WrittenRun(FuzzedDataProvider& input) {
    const FuzzedTexts written(
        input, {.maxCount = 20, .maxUnits = 48, .maxIdGap = 4},
        [](FuzzedDataProvider& in) -> DWORD { return in.ConsumeIntegral<std::uint16_t>(); });
    const std::vector<os::ResourceText>& strings = written.resources;
    std::set<DWORD> blocks;
    for (const os::ResourceText& string : strings) {
        blocks.insert(os::StringBlockId(string.id));
    }
    std::vector<ScriptedResource> resources;
    resources.reserve(blocks.size());
    for (const DWORD block : blocks) {
        resources.push_back({os::kResourceTypeString, block, os::kLanguageEnglishUs,
                             ScriptedModule::StringBlock(strings, block)});
    }
    const ScriptedModule module(kModuleName, std::move(resources));

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
