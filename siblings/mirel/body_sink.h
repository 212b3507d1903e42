// Where the response body of a transfer goes, within the instance's TransferLimits: into the
// ResponseBody, or to the caller's write callback. Every byte is counted; a limit that is reached
// ends the transfer, either as complete (a 4xx or 5xx body has given what is wanted of it, or a
// counted body what can be reported) or as too long for memory.
#pragma once

#include <curl/curl.h>

#include <cstddef>
#include <cstdint>

#include "interfaces/ITransferEngine.h"
#include "siblings/mirel/response_body.h"

namespace hvx::mirel {

// The caller's write callback, which replaces the in-memory body while it is set.
struct CallerWrite {
    void* function = nullptr;
    void* data = nullptr;
};

class BodySink {
public:
    enum class Ending { kNone, kComplete, kTooLong };

    // Before a transfer on `easy`: the body goes to `caller` when it has a function, else into
    // `body`, which is emptied.
    void Start(CURL* easy, const TransferLimits& limits, CallerWrite caller, ResponseBody& body);

    // libcurl's CURLOPT_WRITEFUNCTION; `user` is the BodySink. Returns less than it was given
    // (which ends the transfer) when a limit is reached, memory runs out or the caller's callback
    // refuses.
    static std::size_t Write(char* data, std::size_t size, std::size_t count, void* user) noexcept;

    std::uint64_t Received() const { return m_received; }
    // Why the sink ended the transfer, if it did.
    Ending Ended() const { return m_ending; }

private:
    [[nodiscard]] bool Take(char* data, std::size_t size);
    [[nodiscard]] bool TakeFirstBytes();
    [[nodiscard]] bool TakeErrorBody(char* data, std::size_t size);
    [[nodiscard]] bool Keep(char* data, std::size_t size);
    [[nodiscard]] bool Count(std::size_t size);
    [[nodiscard]] bool Deliver(char* data, std::size_t size);
    [[nodiscard]] bool End(Ending ending);

    CURL* m_easy = nullptr;
    TransferLimits m_limits = kDefaultTransferLimits;
    CallerWrite m_caller;
    ResponseBody* m_body = nullptr;
    bool m_started = false;
    bool m_errorAnswer = false;
    bool m_counting = false;
    std::uint64_t m_received = 0;
    Ending m_ending = Ending::kNone;
};

}  // namespace hvx::mirel
