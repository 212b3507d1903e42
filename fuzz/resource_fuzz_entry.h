// The entry points of a fuzz target that reads resources of a scripted module. The target
// defines the two runs; the first byte of an input chooses one:
// - odd: a 32-bit id and a 16-bit language, both little-endian, then one resource's raw bytes,
//   handed to RawRun;
// - even: the rest drives WrittenRun, which builds well-formed resources from it.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "fuzz/scripted_module.h"
#include "platform/resource_layout.h"
#include "siblings/venit/venit.h"

namespace hvx::fuzz {

inline constexpr const char16_t* kModuleName = u"fuzzed.dll";

void RawRun(DWORD id, DWORD language, std::span<const std::uint8_t> bytes);
void WrittenRun(FuzzedDataProvider& input);

struct TextLimits {
    std::size_t maxCount;
    std::size_t maxUnits;
    std::uint32_t maxIdGap;
};

// Fuzzed texts under ascending ids, with gaps now and then; many units are 'a', so texts also
// share content. `resources` views the texts this object owns.
class FuzzedTexts {
public:
    template <typename FirstId>
    FuzzedTexts(FuzzedDataProvider& input, const TextLimits& limits, FirstId firstId) {
        const auto count = input.ConsumeIntegralInRange<std::size_t>(1, limits.maxCount);
        m_texts.reserve(count);
        DWORD id = firstId(input);
        for (std::size_t i = 0; i < count; ++i) {
            std::u16string& text = m_texts.emplace_back();
            const auto units = input.ConsumeIntegralInRange<std::size_t>(0, limits.maxUnits);
            for (std::size_t u = 0; u < units; ++u) {
                text.push_back(input.ConsumeBool() ? u'a' : input.ConsumeIntegral<char16_t>());
            }
            resources.push_back({id, text});
            id += input.ConsumeIntegralInRange<std::uint32_t>(1, limits.maxIdGap);
        }
    }

    std::vector<os::ResourceText> resources;

private:
    std::vector<std::u16string> m_texts;
};

inline constexpr std::size_t kRawHeaderSize = 6;

}  // namespace hvx::fuzz

// The target's entry points: each target includes this header once, in its one source file.
// NOLINTBEGIN(misc-definitions-in-headers)
extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    venit::SetLogFile("");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::span<const std::uint8_t> input(data + 1, size - 1);
    if ((data[0] & 1U) == 0) {
        FuzzedDataProvider provider(input.data(), input.size());
        hvx::fuzz::WrittenRun(provider);
    } else if (input.size() >= hvx::fuzz::kRawHeaderSize) {
        const DWORD id =
            input[0] | (input[1] << 8U) | (input[2] << 16U) | (static_cast<DWORD>(input[3]) << 24U);
        const DWORD language = input[4] | (input[5] << 8U);
        hvx::fuzz::RawRun(id, language, input.subspan(hvx::fuzz::kRawHeaderSize));
    }
    return 0;
}
// NOLINTEND(misc-definitions-in-headers)
