// One HTTP request for tests against the backend, with cpp-httplib's client: the outcome,
// status, headers and body as the client saw them.
#pragma once

#include <httplib.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace hvx::test {

struct FetchRequest {
    std::string method = "GET";
    std::string body{};
    std::vector<std::string> headers{};             // "Name: value"
    std::optional<std::filesystem::path> caFile{};  // HTTPS: verify peer and host against it
    // Called with each block of the body; returning false aborts the transfer.
    std::function<bool(const std::string&)> onBody{};
};

struct Fetched {
    httplib::Error error = httplib::Error::Success;
    int status = 0;
    httplib::Headers headers;
    std::string body;

    // The value of the first header `name` (any case), or nothing.
    std::optional<std::string> Header(const std::string& name) const;
};

// The target after the host is sent as it stands ("/../" included).
Fetched Fetch(const std::string& url, const FetchRequest& request = {});

}  // namespace hvx::test
