#include "tools/backend/upload_routes.h"

#include <memory>

#include "tools/backend/upload_receiver.h"
#include "tools/common/json_text.h"

namespace hvx::backend {
namespace {

constexpr const char* kJsonType = "application/json";
constexpr std::uint64_t kUploadLimit = std::uint64_t{2} << 30U;
constexpr int kBadRequest = 400;
constexpr int kUnauthorized = 401;
constexpr int kPayloadTooLarge = 413;

}  // namespace

void UploadRoutes::Register(httplib::Server& server) {
    server.Post("/upload", [this](const httplib::Request& request, httplib::Response& response,
                                  const httplib::ContentReader& reader) {
        Receive(request, response, reader);
    });
    server.Get("/upload", [this](const httplib::Request&, httplib::Response& response) {
        const std::lock_guard lock(m_mutex);
        response.set_content(tools::CompactJson(m_uploads), kJsonType);
    });
}

bool UploadRoutes::Authorized(const std::optional<Credentials>& given) const {
    return !m_required ||
           (given && given->user == m_required->user && given->password == m_required->password);
}

void UploadRoutes::Receive(const httplib::Request& request, httplib::Response& response,
                           const httplib::ContentReader& reader) {
    const std::optional<Credentials> given = BasicCredentials(request);
    if (!Authorized(given)) {
        response.status = kUnauthorized;
        response.set_header("WWW-Authenticate", "Basic realm=\"caspo-backend\"");
        return;
    }
    if (!request.is_multipart_form_data()) {
        response.status = kBadRequest;
        return;
    }
    unsigned number = 0;
    {
        const std::lock_guard lock(m_mutex);
        number = ++m_count;
    }
    UploadReceiver receiver(m_folder, number, kUploadLimit);
    const bool read = reader(
        [&receiver](const httplib::MultipartFormData& part) { return receiver.Begin(part); },
        [&receiver](const char* data, std::size_t size) { return receiver.Take(data, size); });
    Json::Value upload(Json::objectValue);
    upload["parts"] = receiver.Finish();
    if (!read) {
        response.status = receiver.OverLimit() ? kPayloadTooLarge : kBadRequest;
        return;
    }
    upload["user"] = given ? given->user : "";
    upload["password_given"] = given && !given->password.empty();
    upload["bytes"] = Json::UInt64{receiver.Bytes()};
    Json::Value answer(Json::objectValue);
    answer["upload"] = number;
    answer["parts"] = upload["parts"].size();
    const std::lock_guard lock(m_mutex);
    m_uploads.append(std::move(upload));
    response.set_content(tools::CompactJson(answer), kJsonType);
}

}  // namespace hvx::backend
