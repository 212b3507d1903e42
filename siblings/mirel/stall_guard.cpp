#include "siblings/mirel/stall_guard.h"

#include <atomic>
#include <charconv>
#include <cstdlib>
#include <string_view>

#include "siblings/mirel/mirel.h"

namespace hvx::mirel {
namespace {

// Below this many bytes per second a transfer counts as stalled.
constexpr long kStalledBytesPerSecond = 1;

std::atomic<long> g_stallSeconds{0};

long StallSecondsFromEnvironment() {
    // Read at each transfer so a hosting process (or a test) can change it at any time.
    const char* text = std::getenv(kMirelStallVariable);  // NOLINT(concurrency-mt-unsafe)
    if (text == nullptr) {
        return 0;
    }
    const std::string_view digits(text);
    long seconds = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), seconds);
    if (error != std::errc() || end != digits.data() + digits.size() || seconds <= 0) {
        return 0;
    }
    return seconds;
}

}  // namespace

CURLcode SetStallSeconds(long seconds) {
    if (seconds < 0) {
        return CURLE_BAD_FUNCTION_ARGUMENT;
    }
    g_stallSeconds.store(seconds);
    return CURLE_OK;
}

long StallSeconds() {
    if (const long set = g_stallSeconds.load(); set > 0) {
        return set;
    }
    if (const long fromEnvironment = StallSecondsFromEnvironment(); fromEnvironment > 0) {
        return fromEnvironment;
    }
    return kDefaultStallSeconds;
}

CURLcode ApplyStallGuard(CURL* easy) {
    CURLcode result = curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, kStalledBytesPerSecond);
    if (result == CURLE_OK) {
        result = curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, StallSeconds());
    }
    return result;
}

}  // namespace hvx::mirel
