// What of a request body or an engine text may go into a trace line: at most its first
// kTracedBytes bytes, and never a credential.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace hvx::session {

// A multipart upload carries whole files: a trace line shows this much of any body or text.
inline constexpr std::size_t kTracedBytes = 256;

// `bytes` when it is at most kTracedBytes long; else its first kTracedBytes bytes (up to three
// fewer when that would cut a UTF-8 sequence) followed by "...". The value of an Authorization or
// Proxy-Authorization header named in the text is replaced by "(hidden)".
std::string TraceExcerpt(std::string_view bytes);

}  // namespace hvx::session
