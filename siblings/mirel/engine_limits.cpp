// Limits of a CurlEngine: what a transfer may hold in memory and how long it may run.
#include <algorithm>
#include <climits>
#include <string>

#include "siblings/mirel/curl_engine.h"

namespace hvx::mirel {
namespace {

constexpr std::int64_t kMillisecondsPerSecond = 1000;

bool InRange(const TransferLimits& limits) {
    const bool knownOverflow =
        limits.overflow == BodyOverflow::kFail || limits.overflow == BodyOverflow::kCount;
    return knownOverflow && limits.ceilingSeconds > 0 && limits.stallSeconds > 0 &&
           limits.stallSeconds <= kMaxStallSeconds && limits.stallBytesPerSecond > 0;
}

std::uint64_t NotNegative(curl_off_t count) {
    return count > 0 ? static_cast<std::uint64_t>(count) : 0;
}

}  // namespace

int CurlEngine::SetTransferLimits(const TransferLimits* limits) {
    if (limits == nullptr) {
        m_limits = kDefaultTransferLimits;
        return Record(CURLE_OK);
    }
    if (!InRange(*limits)) {
        return Record(Refuse(CURLE_BAD_FUNCTION_ARGUMENT, "transfer limits out of range"));
    }
    m_limits = *limits;
    return Record(CURLE_OK);
}

int CurlEngine::GetReceivedBodyLength(std::uint64_t* length) {
    if (length == nullptr) {
        return CURLE_BAD_FUNCTION_ARGUMENT;
    }
    *length = m_sink.Received();
    return CURLE_OK;
}

CURLcode CurlEngine::SetCallerTimeout(int option, std::int64_t value) {
    if (value < 0) {
        return Refuse(CURLE_BAD_FUNCTION_ARGUMENT, "time-out is negative");
    }
    const bool seconds = option == CURLOPT_TIMEOUT;
    m_callerTimeoutMs = !seconds ? value
                        : value > INT64_MAX / kMillisecondsPerSecond
                            ? INT64_MAX
                            : value * kMillisecondsPerSecond;
    return CURLE_OK;
}

// A transfer without a caller's time-out still ends within the ceiling.
CURLcode CurlEngine::ApplyLimits() {
    const std::int64_t milliseconds =
        m_callerTimeoutMs > 0 ? m_callerTimeoutMs
                              : std::int64_t{m_limits.ceilingSeconds} * kMillisecondsPerSecond;
    return curl_easy_setopt(m_easy.get(), CURLOPT_TIMEOUT_MS,
                            static_cast<long>(std::min<std::int64_t>(milliseconds, LONG_MAX)));
}

CURLcode CurlEngine::Conclude(CURLcode result) {
    if (result == CURLE_WRITE_ERROR && m_sink.Ended() == BodySink::Ending::kComplete) {
        m_errorBuffer.fill('\0');
        return CURLE_OK;
    }
    if (result == CURLE_WRITE_ERROR && m_sink.Ended() == BodySink::Ending::kTooLong) {
        const std::string reason = "Response body is longer than the " +
                                   std::to_string(m_limits.keepBytes) + " bytes kept in memory";
        return Refuse(CURLE_FILESIZE_EXCEEDED, reason.c_str());
    }
    if (result == CURLE_ABORTED_BY_CALLBACK && m_stall.Tripped()) {
        const std::string reason =
            "Operation too slow. Less than " + std::to_string(m_limits.stallBytesPerSecond) +
            " bytes/sec transferred the last " + std::to_string(m_limits.stallSeconds) + " seconds";
        return Refuse(CURLE_OPERATION_TIMEDOUT, reason.c_str());
    }
    return result;
}

int CurlEngine::OnProgress(void* user, curl_off_t downloadTotal, curl_off_t downloaded,
                           curl_off_t uploadTotal, curl_off_t uploaded) noexcept {
    auto* engine = static_cast<CurlEngine*>(user);
    const int answer =
        engine->m_callerProgress.Call(downloadTotal, downloaded, uploadTotal, uploaded);
    if (answer != 0) {
        return answer;
    }
    const std::uint64_t moved = NotNegative(downloaded) + NotNegative(uploaded);
    return engine->m_stall.Stalled(moved, StallGuard::Clock::now()) ? 1 : 0;
}

int CurlEngine::CallerProgress::Call(curl_off_t downloadTotal, curl_off_t downloaded,
                                     curl_off_t uploadTotal, curl_off_t uploaded) const {
    int answer = 0;
    if (on && xferinfo != nullptr) {
        answer = reinterpret_cast<curl_xferinfo_callback>(xferinfo)(data, downloadTotal, downloaded,
                                                                    uploadTotal, uploaded);
    } else if (on && progress != nullptr) {
        answer = reinterpret_cast<curl_progress_callback>(progress)(
            data, static_cast<double>(downloadTotal), static_cast<double>(downloaded),
            static_cast<double>(uploadTotal), static_cast<double>(uploaded));
    }
    // libcurl's "carry on with your own meter" is no abort.
    return answer == CURL_PROGRESSFUNC_CONTINUE ? 0 : answer;
}

}  // namespace hvx::mirel
