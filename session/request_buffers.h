// Buffers of a request: the part size of response-body reads, and the owner of a body built
// with malloc and realloc.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace hvx {

// The engine hands a response body out in parts of this size; the error body of a 4xx or 5xx
// answer is read once, into one buffer of this size.
inline constexpr std::uint32_t kBodyPartSize = 8192;

// Releases memory from malloc or realloc, the way the multipart body is released.
struct FreeDeleter {
    void operator()(char* memory) const {
        std::free(memory);
    }  // NOLINT(cppcoreguidelines-no-malloc)
};
using MallocBuffer = std::unique_ptr<char, FreeDeleter>;

}  // namespace hvx
