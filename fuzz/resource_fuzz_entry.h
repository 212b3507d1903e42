// The entry points of a fuzz target that reads resources of the scripted module. The target
// defines the two runs; the first byte of an input chooses one: odd hands the rest to RawRun as
// raw resource bytes, even to WrittenRun to build well-formed resources from.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/scripted_module.h"
#include "siblings/venit/venit.h"

namespace hvx::fuzz {

void RawRun(std::span<const std::uint8_t> input);
void WrittenRun(FuzzedDataProvider& input);

}  // namespace hvx::fuzz

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    venit::SetLogFile("");
    hvx::fuzz::ScriptedModule::Register();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    if ((data[0] & 1U) != 0) {
        hvx::fuzz::RawRun(std::span(data + 1, size - 1));
    } else {
        FuzzedDataProvider input(data + 1, size - 1);
        hvx::fuzz::WrittenRun(input);
    }
    return 0;
}
