// The pieces of a multipart body around the sections' content: each section's head (its boundary
// line, its header lines and the blank line after them) and the closing line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "interfaces/hvx_types.h"
#include "session/multipart_section.h"

namespace hvx::multipart {

inline constexpr std::string_view kDashes = "--";
inline constexpr std::string_view kLineEnd = "\r\n";
// 27 hyphens and 16 hexadecimal digits.
inline constexpr std::size_t kBoundaryLength = 43;

// The boundary line, the header lines in UTF-8 (parameters on the first) and the blank line;
// the code of the conversion when a name or value is not valid UTF-16.
[[nodiscard]] HRESULT BuildSectionHead(const MultipartSection& section, std::string_view boundary,
                                       std::string& head);

// "--", the boundary, "--" and CR LF.
std::string ClosingLine(std::string_view boundary);

// Copies the bytes to `out`; the position after them.
char* Put(char* out, std::string_view bytes);

}  // namespace hvx::multipart
