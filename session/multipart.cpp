// Multipart sections of a hvx::CHttpCurl session and the boundary that separates them.
#include <array>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

#include "session/http_curl.h"
#include "session/multipart_head.h"

namespace hvx {

namespace {

constexpr std::string_view kBoundaryPrefix = "---------------------------";
constexpr std::size_t kBoundaryDraws = 4;
// Each draw is written as four hexadecimal digits, so only its low 15 bits are kept: the whole
// range of rand() where RAND_MAX is 32767, and the same width where it is larger.
constexpr unsigned kDrawMask = 0x7FFF;
constexpr std::string_view kHexDigits = "0123456789ABCDEF";
constexpr unsigned kNibbleBits = 4;
constexpr unsigned kNibbleMask = 0xF;
constexpr unsigned kDigitsPerDraw = 4;
static_assert(kBoundaryPrefix.size() + kBoundaryDraws * kDigitsPerDraw ==
              multipart::kBoundaryLength);

// The value as four upper-case hexadecimal digits with leading zeros ("%04X").
void AppendHex4(std::string& target, unsigned value) {
    for (unsigned digit = kDigitsPerDraw; digit > 0; --digit) {
        target += kHexDigits[(value >> ((digit - 1) * kNibbleBits)) & kNibbleMask];
    }
}

}  // namespace

void CHttpCurl::AddSection(const MultipartSection& section) {
    m_sections.push_back(section);
}

void CHttpCurl::AddSection(MultipartSection&& section) {
    m_sections.push_back(std::move(section));
}

HRESULT CHttpCurl::AddSectionHeader(MultipartSection& section, std::u16string name,
                                    std::u16string value) {
    section.headers.emplace_back(std::move(name), std::move(value));
    return S_OK;
}

HRESULT CHttpCurl::AddSectionParameter(MultipartSection& section, std::u16string name,
                                       std::u16string value) {
    section.parameters.emplace_back(std::move(name), std::move(value));
    return S_OK;
}

void CHttpCurl::GenerateBoundary(std::string& target) {
    std::array<unsigned, kBoundaryDraws> drawn{};
    for (unsigned& value : drawn) {
        // The boundary only has to differ from the body's bytes, not be unpredictable; the
        // runtime's generator, never seeded here, is what every build of the agent uses.
        value =
            static_cast<unsigned>(std::rand()) & kDrawMask;  // NOLINT(cert-msc30-c,cert-msc50-cpp)
    }
    target = kBoundaryPrefix;
    // The value drawn last comes first.
    for (std::size_t i = drawn.size(); i > 0; --i) {
        AppendHex4(target, drawn.at(i - 1));
    }
}

}  // namespace hvx
