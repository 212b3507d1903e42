// One HTTP request with libcurl, for tests against the backend: the outcome, status, headers
// and body as the client saw them.
#pragma once

#include <curl/curl.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace hvx::test {

struct FetchRequest {
    std::string method = "GET";
    std::optional<std::string> body{};
    std::vector<std::string> headers{};             // "Name: value"
    std::optional<std::filesystem::path> caFile{};  // HTTPS: verify peer and host against it
    bool pathAsIs = false;                          // send "/../" unchanged
    // Called with each block of the body; returning false aborts the transfer.
    std::function<bool(const std::string&)> onBody{};
};

struct Fetched {
    CURLcode code = CURLE_OK;
    long status = 0;
    std::vector<std::string> headerLines;  // as received, without CR LF
    std::string body;

    // The value of the first header `name` (any case), or nothing.
    std::optional<std::string> Header(const std::string& name) const;
};

Fetched Fetch(const std::string& url, const FetchRequest& request = {});

}  // namespace hvx::test
