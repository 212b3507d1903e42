#include "siblings/venit/log_line.h"

#include <algorithm>

namespace venit::detail {

std::string RecordPayload(RecordKind kind, std::string_view text) {
    std::string payload = kind == RecordKind::Error ? "ERROR " : "TRACE ";
    const std::size_t start = payload.size();
    payload.append(text);
    std::replace_if(
        payload.begin() + static_cast<std::ptrdiff_t>(start), payload.end(),
        [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return payload;
}

}  // namespace venit::detail
