#include "tests/support/net/http_wire.h"

#include <strings.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <string_view>

namespace hvx::test {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kHeadEnd = "\r\n\r\n";
// A request head larger than this is not a test's request.
constexpr std::size_t kMaxHeadBytes = std::size_t{1} << 20;
constexpr std::size_t kReadChunk = 16384;

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

bool ReadMore(SocketStream& stream, std::string& pending) {
    std::array<char, kReadChunk> chunk{};
    const std::size_t read = stream.Read(chunk.data(), chunk.size());
    pending.append(chunk.data(), read);
    return read > 0;
}

bool ParseRequestLine(std::string_view line, RecordedRequest& request) {
    const std::size_t first = line.find(' ');
    const std::size_t last = line.rfind(' ');
    if (first == std::string_view::npos || last == first) {
        return false;
    }
    request.method = line.substr(0, first);
    request.target = line.substr(first + 1, last - first - 1);
    return true;
}

bool ParseHead(std::string_view head, RecordedRequest& request) {
    std::size_t lineEnd = head.find(kLineEnd);
    if (!ParseRequestLine(head.substr(0, lineEnd), request)) {
        return false;
    }
    while (lineEnd != std::string_view::npos) {
        const std::size_t start = lineEnd + kLineEnd.size();
        lineEnd = head.find(kLineEnd, start);
        request.headerLines.emplace_back(head.substr(start, lineEnd - start));
    }
    return true;
}

std::size_t ContentLength(const RecordedRequest& request) {
    const std::string value = request.Header("Content-Length").value_or("0");
    std::size_t length = 0;
    std::from_chars(value.data(), value.data() + value.size(), length);
    return length;
}

std::string ReasonFor(int status) {
    static const std::map<int, std::string> kReasons = {{200, "OK"},
                                                        {204, "No Content"},
                                                        {302, "Found"},
                                                        {304, "Not Modified"},
                                                        {400, "Bad Request"},
                                                        {404, "Not Found"},
                                                        {500, "Internal Server Error"}};
    const auto it = kReasons.find(status);
    return it == kReasons.end() ? "Status" : it->second;
}

bool HasHeader(const ScriptedResponse& response, std::string_view name) {
    return std::ranges::any_of(response.headers, [&](const auto& header) {
        return EqualsIgnoringCase(header.first, name);
    });
}

}  // namespace

std::optional<std::string> RecordedRequest::Header(std::string_view name) const {
    for (const std::string& line : headerLines) {
        const std::size_t colon = line.find(':');
        if (colon != std::string::npos && EqualsIgnoringCase(line.substr(0, colon), name)) {
            const std::size_t value = line.find_first_not_of(' ', colon + 1);
            return value == std::string::npos ? std::string() : line.substr(value);
        }
    }
    return std::nullopt;
}

bool ReadRequest(SocketStream& stream, std::string& pending, RecordedRequest& request) {
    std::size_t headEnd = pending.find(kHeadEnd);
    while (headEnd == std::string::npos) {
        if (pending.size() > kMaxHeadBytes || !ReadMore(stream, pending)) {
            return false;
        }
        headEnd = pending.find(kHeadEnd);
    }
    if (!ParseHead(std::string_view(pending).substr(0, headEnd), request)) {
        return false;
    }
    pending.erase(0, headEnd + kHeadEnd.size());
    const std::size_t length = ContentLength(request);
    while (pending.size() < length) {
        if (!ReadMore(stream, pending)) {
            return false;
        }
    }
    request.body = pending.substr(0, length);
    pending.erase(0, length);
    return true;
}

std::string ResponseHead(const ScriptedResponse& response) {
    std::string head = "HTTP/1.1 " + std::to_string(response.status) + " " +
                       ReasonFor(response.status) + std::string(kLineEnd);
    for (const auto& [name, value] : response.headers) {
        head.append(name).append(": ").append(value).append(kLineEnd);
    }
    if (response.contentLength && !HasHeader(response, "Content-Length")) {
        head += "Content-Length: " + std::to_string(response.Body().size()) + std::string(kLineEnd);
    }
    if (response.closeConnection) {
        head += "Connection: close\r\n";
    }
    head += kLineEnd;
    return head;
}

bool ClientCloses(const RecordedRequest& request) {
    const std::optional<std::string> connection = request.Header("Connection");
    return connection && EqualsIgnoringCase(*connection, "close");
}

}  // namespace hvx::test
