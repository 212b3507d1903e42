#include "tools/backend/request_body.h"

#include <utility>

namespace hvx::backend {
namespace {

constexpr int kBadRequest = 400;
constexpr int kPayloadTooLarge = 413;

// Counts the bytes received; false once they exceed the limit.
class BodyBudget {
public:
    explicit BodyBudget(std::size_t limit) : m_left(limit) {}
    [[nodiscard]] bool Take(std::size_t count) {
        m_exceeded = m_exceeded || count > m_left;
        m_left -= m_exceeded ? 0 : count;
        return !m_exceeded;
    }
    bool Exceeded() const { return m_exceeded; }

private:
    std::size_t m_left;
    bool m_exceeded = false;
};

bool ReadMultipart(const httplib::ContentReader& reader, RequestBody& body, BodyBudget& budget) {
    return reader(
        [&body](const httplib::MultipartFormData& part) {
            body.parts.push_back(part);
            return true;
        },
        [&body, &budget](const char* data, std::size_t length) {
            if (!budget.Take(length) || body.parts.empty()) {
                return false;
            }
            body.parts.back().content.append(data, length);
            return true;
        });
}

bool ReadRaw(const httplib::ContentReader& reader, RequestBody& body, BodyBudget& budget) {
    return reader([&body, &budget](const char* data, std::size_t length) {
        if (!budget.Take(length)) {
            return false;
        }
        body.raw.append(data, length);
        return true;
    });
}

// cpp-httplib's reader fails on a request that announces no body at all.
bool AnnouncesBody(const httplib::Request& request) {
    return request.has_header("Content-Length") || request.has_header("Transfer-Encoding");
}

bool ReadBody(const httplib::Request& request, const httplib::ContentReader& reader,
              RequestBody& body, BodyBudget& budget) {
    if (!AnnouncesBody(request)) {
        return true;
    }
    return request.is_multipart_form_data() ? ReadMultipart(reader, body, budget)
                                            : ReadRaw(reader, body, budget);
}

httplib::Server::HandlerWithContentReader ReadingHandler(BodyHandler handler, std::size_t limit) {
    return [handler = std::move(handler), limit](const httplib::Request& request,
                                                 httplib::Response& response,
                                                 const httplib::ContentReader& reader) {
        RequestBody body;
        BodyBudget budget(limit);
        if (!ReadBody(request, reader, body, budget)) {
            response.status = budget.Exceeded() ? kPayloadTooLarge : kBadRequest;
            return;
        }
        handler(request, body, response);
    };
}

}  // namespace

void HandleEveryMethod(httplib::Server& server, const std::string& pattern, BodyHandler handler,
                       std::size_t limit) {
    const httplib::Server::Handler bodiless = [handler](const httplib::Request& request,
                                                        httplib::Response& response) {
        handler(request, RequestBody{request.body, {}}, response);
    };
    server.Get(pattern, bodiless);
    server.Options(pattern, bodiless);
    server.Post(pattern, ReadingHandler(handler, limit));
    server.Put(pattern, ReadingHandler(handler, limit));
    server.Patch(pattern, ReadingHandler(handler, limit));
    server.Delete(pattern, ReadingHandler(std::move(handler), limit));
}

}  // namespace hvx::backend
