#include "tools/backend/request_log.h"

#include <cstdio>

namespace hvx::backend {
namespace {

std::string BodyLength(const httplib::Response& response) {
    if (response.has_header("Content-Length")) {
        return response.get_header_value("Content-Length");
    }
    return std::to_string(response.body.size());
}

}  // namespace

httplib::Logger MakeRequestLog(std::string listener) {
    return [listener = std::move(listener)](const httplib::Request& request,
                                            const httplib::Response& response) {
        // One write per line, so the lines of requests served at the same time do not mix.
        const std::string line = listener + " " + request.method + " " + request.path + " " +
                                 std::to_string(response.status) + " " + BodyLength(response) +
                                 "\n";
        // A line that cannot be written is lost; the request has been answered all the same.
        static_cast<void>(std::fwrite(line.data(), 1, line.size(), stderr));
    };
}

}  // namespace hvx::backend
