// What the test server answers (scripted by the test) and what it recorded of each request.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace hvx::test {

// One answer. An aggregate whose members all have defaults, so a test writes only what it needs:
//   ScriptedResponse{.status = 302, .headers = {{"Location", "/elsewhere"}}}
struct ScriptedResponse {
    int status = 200;
    // Sent in this order after the status line.
    std::vector<std::pair<std::string, std::string>> headers{};
    std::string body{};
    // Adds "Content-Length" with the full body size, unless `headers` has one.
    bool contentLength = true;
    // Sends the head and only this many body bytes, then closes the connection.
    std::optional<std::size_t> closeAfterBodyBytes{};
    // Reads the request and never answers; the connection stays open until the client closes it
    // or the server stops.
    bool neverAnswer = false;
    // Sends "Connection: close" and closes the connection after the answer.
    bool closeConnection = false;
    // When set, sent instead of `body`: a large body shared by many answers is not copied for
    // each of them.
    std::shared_ptr<const std::string> sharedBody{};

    // The body that goes out.
    std::string_view Body() const { return sharedBody ? std::string_view(*sharedBody) : body; }
};

// One request as it arrived.
struct RecordedRequest {
    std::string method;
    std::string target;
    // Every header line, in wire order, exactly as sent, without its CR LF.
    std::vector<std::string> headerLines;
    // The body bytes (by Content-Length; chunked bodies are not decoded).
    std::string body;
    // The client's TCP port: equal ports mean the same connection.
    std::uint16_t clientPort = 0;
    // For HTTPS: whether the TLS handshake resumed an earlier session.
    bool tlsSessionReused = false;

    // The value of the first header of that name (letter case ignored), without the blanks
    // after the colon; nullopt when there is none.
    std::optional<std::string> Header(std::string_view name) const;
};

}  // namespace hvx::test
