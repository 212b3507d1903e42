#include "siblings/mirel/body_sink.h"

#include <algorithm>
#include <new>

namespace hvx::mirel {
namespace {

constexpr long kFirstErrorStatus = 400;

}  // namespace

void BodySink::Start(CURL* easy, const TransferLimits& limits, CallerWrite caller,
                     ResponseBody& body) {
    body.Clear();
    *this = BodySink();
    m_easy = easy;
    m_limits = limits;
    m_caller = caller;
    m_body = &body;
}

std::size_t BodySink::Write(char* data, std::size_t size, std::size_t count, void* user) noexcept {
    auto* sink = static_cast<BodySink*>(user);
    const std::size_t bytes = size * count;
    try {
        return sink->Take(data, bytes) ? bytes : 0;
    } catch (const std::bad_alloc&) {
        return 0;  // libcurl ends the transfer with CURLE_WRITE_ERROR
    }
}

bool BodySink::Take(char* data, std::size_t size) {
    if (!m_started && !TakeFirstBytes()) {
        return false;
    }
    if (m_errorAnswer) {
        return TakeErrorBody(data, size);
    }
    if (m_caller.function != nullptr) {
        m_received += size;
        return Deliver(data, size);
    }
    return Keep(data, size);
}

// The status and the announced length are known once the body starts.
bool BodySink::TakeFirstBytes() {
    m_started = true;
    long status = 0;
    curl_off_t announced = -1;
    static_cast<void>(curl_easy_getinfo(m_easy, CURLINFO_RESPONSE_CODE, &status));
    static_cast<void>(curl_easy_getinfo(m_easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced));
    m_errorAnswer = status >= kFirstErrorStatus;
    if (m_errorAnswer || m_caller.function != nullptr || announced <= 0) {
        return true;
    }
    const auto length = static_cast<std::uint64_t>(announced);
    if (length <= m_limits.keepBytes) {
        m_body->ExpectLength(length);
    } else if (m_limits.overflow == BodyOverflow::kFail) {
        return End(Ending::kTooLong);
    } else {
        m_counting = true;
    }
    return true;
}

bool BodySink::TakeErrorBody(char* data, std::size_t size) {
    const std::uint64_t room =
        m_limits.errorBodyBytes - std::min(m_received, m_limits.errorBodyBytes);
    const auto take = static_cast<std::size_t>(std::min<std::uint64_t>(size, room));
    if (take > 0 && !Deliver(data, take)) {
        return false;
    }
    m_received += take;
    return take == size || End(Ending::kComplete);
}

bool BodySink::Keep(char* data, std::size_t size) {
    if (m_counting) {
        return Count(size);
    }
    if (m_received + size > m_limits.keepBytes) {
        if (m_limits.overflow == BodyOverflow::kFail) {
            return End(Ending::kTooLong);
        }
        // What was kept is no use once the body cannot fit: only its length is wanted.
        m_body->Clear();
        m_counting = true;
        return Count(size);
    }
    m_body->Append(data, size);
    m_received += size;
    return true;
}

bool BodySink::Count(std::size_t size) {
    m_received += size;
    return m_received < m_limits.countBytes || End(Ending::kComplete);
}

bool BodySink::Deliver(char* data, std::size_t size) {
    if (m_caller.function == nullptr) {
        m_body->Append(data, size);
        return true;
    }
    const auto write = reinterpret_cast<curl_write_callback>(m_caller.function);
    return write(data, 1, size, m_caller.data) == size;
}

bool BodySink::End(Ending ending) {
    m_ending = ending;
    if (ending == Ending::kTooLong && m_body != nullptr) {
        m_body->Clear();  // a failed transfer gives no body
    }
    return false;
}

}  // namespace hvx::mirel
