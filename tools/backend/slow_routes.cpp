#include "tools/backend/slow_routes.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "tools/backend/query_number.h"
#include "tools/backend/request_body.h"

namespace hvx::backend {
namespace {

constexpr const char* kSlowPattern = "/slow";
constexpr std::size_t kIgnoredBodyLimit = std::size_t{64} << 20U;
constexpr std::uint64_t kLongestWaitMs =
    std::chrono::milliseconds(std::chrono::minutes(10)).count();
constexpr std::uint64_t kLargestBody = std::uint64_t{1} << 30U;
constexpr std::uint64_t kDefaultBytes = 16;
constexpr std::uint64_t kDefaultChunk = 1;
constexpr int kBadRequest = 400;
constexpr int kServiceUnavailable = 503;
constexpr char kFill = 'x';

struct Pace {
    std::chrono::milliseconds delay{0};
    std::uint64_t bytes = kDefaultBytes;
    std::uint64_t chunk = kDefaultChunk;
    std::chrono::milliseconds interval{0};
};

std::optional<Pace> ReadPace(const httplib::Request& request) {
    const auto delay = QueryNumber(request, "delay_ms", 0, kLongestWaitMs);
    const auto bytes = QueryNumber(request, "bytes", kDefaultBytes, kLargestBody);
    const auto chunk = QueryNumber(request, "chunk", kDefaultChunk, kLargestBody);
    const auto interval = QueryNumber(request, "interval_ms", 0, kLongestWaitMs);
    if (!delay || !bytes || !chunk || *chunk == 0 || !interval) {
        return std::nullopt;
    }
    return Pace{std::chrono::milliseconds(*delay), *bytes, *chunk,
                std::chrono::milliseconds(*interval)};
}

// Sends one chunk per call, after its pause; cpp-httplib calls again until the body is complete.
httplib::ContentProvider Dribble(const Pace& pace, const StopSignal& stop) {
    return [pace, &stop, filler = std::string()](std::size_t /*offset*/, std::size_t length,
                                                 httplib::DataSink& sink) mutable {
        if (!stop.WaitFor(pace.interval)) {
            return false;
        }
        const std::size_t count = std::min<std::size_t>(length, pace.chunk);
        filler.assign(count, kFill);
        return sink.write(filler.data(), filler.size());
    };
}

}  // namespace

void SlowRoutes::Register(httplib::Server& server) {
    HandleEveryMethod(
        server, kSlowPattern,
        [this](const httplib::Request& request, const RequestBody& /*body*/,
               httplib::Response& response) { Answer(request, response); },
        kIgnoredBodyLimit);
}

void SlowRoutes::Answer(const httplib::Request& request, httplib::Response& response) const {
    const auto pace = ReadPace(request);
    if (!pace) {
        response.status = kBadRequest;
        response.set_content("delay_ms, bytes, chunk and interval_ms take whole numbers\n",
                             "text/plain");
        return;
    }
    if (!m_stop.WaitFor(pace->delay)) {
        response.status = kServiceUnavailable;
        return;
    }
    if (pace->bytes == 0) {
        response.set_content("", "text/plain");
        return;
    }
    response.set_content_provider(pace->bytes, "text/plain", Dribble(*pace, m_stop));
}

}  // namespace hvx::backend
