#include "session/trace_excerpt.h"

#include <algorithm>

namespace hvx::session {

namespace {

// Matches "Authorization" and "Proxy-Authorization" in any letter case, also inside the
// engine's own texts ("[authorization: Basic ...]" of an HTTP/2 request).
constexpr std::string_view kAuthorization = "authorization";
constexpr std::string_view kHidden = " (hidden)";
constexpr std::string_view kCut = "...";
// A UTF-8 sequence has at most three bytes after its first.
constexpr std::size_t kMaxContinuation = 3;
constexpr unsigned char kContinuationMask = 0xC0;
constexpr unsigned char kContinuationBits = 0x80;

char AsciiLower(char letter) {
    return letter >= 'A' && letter <= 'Z' ? static_cast<char>(letter - 'A' + 'a') : letter;
}

bool SameLetters(char left, char right) {
    return AsciiLower(left) == AsciiLower(right);
}

// The text up to the first colon after an authorization name, with the value replaced.
void HideCredentials(std::string& text) {
    const auto name = std::search(text.begin(), text.end(), kAuthorization.begin(),
                                  kAuthorization.end(), SameLetters);
    if (name == text.end()) {
        return;
    }
    const std::size_t colon = text.find(':', static_cast<std::size_t>(name - text.begin()));
    if (colon != std::string::npos) {
        text.resize(colon + 1);
        text += kHidden;
    }
}

// Where to cut `bytes` at most kTracedBytes in without splitting a UTF-8 sequence.
std::size_t CutPoint(std::string_view bytes) {
    std::size_t cut = kTracedBytes;
    while (cut > kTracedBytes - kMaxContinuation &&
           (static_cast<unsigned char>(bytes[cut]) & kContinuationMask) == kContinuationBits) {
        --cut;
    }
    return cut;
}

}  // namespace

std::string TraceExcerpt(std::string_view bytes) {
    const bool cut = bytes.size() > kTracedBytes;
    std::string excerpt(bytes.substr(0, cut ? CutPoint(bytes) : bytes.size()));
    HideCredentials(excerpt);
    if (cut) {
        excerpt += kCut;
    }
    return excerpt;
}

}  // namespace hvx::session
