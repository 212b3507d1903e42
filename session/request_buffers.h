// Buffers of a request: the part size of response-body reads, the owner of a body built with
// malloc and realloc, and the multipart body of one POST.
#pragma once

#include <cstddef>
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

// The multipart body of one POST: its bytes and length, and what holds them: a buffer of its own,
// or the room around one section's content (`host`, whose room after the content was
// `hostRoom` bytes before the body was laid).
struct MultipartBody {
    static constexpr std::size_t kNoHost = static_cast<std::size_t>(-1);

    const char* bytes = nullptr;
    std::uint32_t length = 0;
    MallocBuffer owned;
    std::size_t host = kNoHost;
    std::size_t hostRoom = 0;
};

}  // namespace hvx
