// The invariant check of the fuzz targets: a broken rule stops the run, and libFuzzer keeps the
// input that broke it.
#pragma once

#include <cstdlib>

namespace hvx::fuzz {

inline void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace hvx::fuzz
