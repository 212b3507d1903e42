#include "tests/integration/backend/http_fetch.h"

namespace hvx::test {

std::optional<std::string> Fetched::Header(const std::string& name) const {
    const auto found = headers.find(name);
    return found == headers.end() ? std::nullopt : std::optional(found->second);
}

Fetched Fetch(const std::string& url, const FetchRequest& request) {
    const std::size_t path = url.find('/', url.find("//") + 2);
    httplib::Client client(url.substr(0, path));
    client.set_url_encode(false);
    client.enable_server_certificate_verification(request.caFile.has_value());
    if (request.caFile) {
        client.set_ca_cert_path(request.caFile->string());
    }
    Fetched fetched;
    httplib::Request sent;
    sent.method = request.method;
    sent.path = url.substr(path);
    sent.body = request.body;
    for (const std::string& header : request.headers) {
        const std::size_t colon = header.find(':');
        sent.headers.emplace(header.substr(0, colon), header.substr(colon + 2));
    }
    sent.content_receiver = [&](const char* data, std::size_t size, std::uint64_t, std::uint64_t) {
        fetched.body.append(data, size);
        return !request.onBody || request.onBody(std::string(data, size));
    };
    const httplib::Result result = client.send(sent);
    fetched.error = result.error();
    if (result) {
        fetched.status = result->status;
        fetched.headers = result->headers;
    }
    return fetched;
}

}  // namespace hvx::test
