// hvx::CHttpCurl::ApplyHeaders: the session's request headers handed to the engine before each
// transfer, with the multipart boundary where a header announces a multipart body.
#include <string>

#include "session/http_curl.h"
#include "siblings/venit/util.h"

namespace hvx {

namespace {

constexpr std::u16string_view kHeaderSeparator = u": ";
// Only this exact value gets the boundary; a value with a charset or other parameter does not.
constexpr std::u16string_view kMultipartFormData = u"multipart/form-data";
constexpr std::u16string_view kBoundaryParameter = u"; boundary=";

}  // namespace

void CHttpCurl::ApplyHeaders() {
    if (m_pICurl == nullptr) {
        return;
    }
    for (const auto& [name, value] : m_headers) {
        std::u16string line = name;
        line += kHeaderSeparator;
        line += value;
        if (value == kMultipartFormData) {
            if (m_boundary.empty()) {
                GenerateBoundary(m_boundary);
            }
            // A boundary that cannot be converted only leaves the parameter off.
            const Util::UniqueMem<char16_t> boundary(
                Util::ConvertStringToWCHAR(m_boundary.c_str()));
            if (boundary) {
                line += kBoundaryParameter;
                line += boundary.get();
            }
        }
        // A refused line is not fatal: the request goes out without it.
        static_cast<void>(m_pICurl->AppendHeader(line.c_str()));
    }
}

}  // namespace hvx
