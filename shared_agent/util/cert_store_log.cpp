#include "shared_agent/util/cert_store_log.h"

#include <cstring>
#include <limits>
#include <string>

#include "siblings/venit/util.h"

namespace hvx::certs {

namespace {

// What a writer's own failures are reported as, through hvx_error.
struct WriterMessages {
    const char* badLength;
    const char* overflow;
    const char* noMemory;  // null: a failed allocation is not reported
};
constexpr WriterMessages kErrorMessages = {"hvx_error _vscprintf() returned %d",
                                           "hvx_error integer overflow", nullptr};
constexpr WriterMessages kTraceMessages = {"trace _vscprintf() returned %d",
                                           "trace integer overflow", "trace: malloc"};

// The formatted length, -1 when formatting fails.
long long Measure(std::string_view format, venit::FormatArgs args, std::string& text) {
    try {
        text = venit::Format(format, args);
    } catch (...) {
        return -1;
    }
    return static_cast<long long>(text.size());
}

// The message in a zero-terminated buffer of its length plus one, or null after reporting why
// there is none.
Util::UniqueMem<char> ComposeMessage(std::string_view format, venit::FormatArgs args,
                                     const WriterMessages& messages) {
    std::string text;
    const long long length = Measure(format, args, text);
    if (length == -1 || length == 0) {
        hvx_error(messages.badLength, static_cast<int>(length));
        return nullptr;
    }
    if (length >= std::numeric_limits<std::int32_t>::max()) {
        hvx_error(messages.overflow);
        return nullptr;
    }
    Util::UniqueMem<char> buffer(
        static_cast<char*>(Util::SafeMalloc(static_cast<std::size_t>(length) + 1)));
    if (!buffer) {
        if (messages.noMemory != nullptr) {
            hvx_error(messages.noMemory);
        }
        return nullptr;
    }
    std::memcpy(buffer.get(), text.c_str(), text.size() + 1);
    return buffer;
}

}  // namespace

void WriteStoreError(std::string_view format, venit::FormatArgs args) {
    const Util::UniqueMem<char> text = ComposeMessage(format, args, kErrorMessages);
    if (text) {
        _log_error(0, text.get(), nullptr);
    }
}

void WriteStoreTrace(std::uint64_t level, std::string_view format, venit::FormatArgs args) {
    if ((level & kStoreTraceBits) == 0 || getDebugLevel() == 0) {
        return;
    }
    const Util::UniqueMem<char> text = ComposeMessage(format, args, kTraceMessages);
    if (text) {
        _log_trace(text.get());
    }
}

}  // namespace hvx::certs
