// Handlers that take every method and bodies of any size and type. cpp-httplib's plain handlers
// refuse an url-encoded body over 8 KiB (413) and keep no bytes of a multipart body, so bodies
// are read here through the content reader instead.
#pragma once

#include <httplib.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace hvx::backend {

struct RequestBody {
    std::string raw;                                // the bytes, unless multipart
    std::vector<httplib::MultipartFormData> parts;  // the parts of a multipart body
};

using BodyHandler =
    std::function<void(const httplib::Request&, const RequestBody&, httplib::Response&)>;

// Registers `handler` on `pattern` for GET (and so HEAD), POST, PUT, PATCH, DELETE and OPTIONS.
// A body larger than `limit` bytes is answered with 413 and never reaches the handler.
void HandleEveryMethod(httplib::Server& server, const std::string& pattern, BodyHandler handler,
                       std::size_t limit);

}  // namespace hvx::backend
