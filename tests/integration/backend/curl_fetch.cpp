#include "tests/integration/backend/curl_fetch.h"

#include <strings.h>

#include <memory>

namespace hvx::test {
namespace {

struct CurlDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

struct Collected {
    Fetched fetched;
    const FetchRequest* request = nullptr;
};

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* collected = static_cast<Collected*>(user);
    const std::string block(data, size * count);
    collected->fetched.body += block;
    if (collected->request->onBody && !collected->request->onBody(block)) {
        return 0;
    }
    return size * count;
}

std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
    std::string line(data, size * count);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.pop_back();
    }
    static_cast<Collected*>(user)->fetched.headerLines.push_back(line);
    return size * count;
}

}  // namespace

std::optional<std::string> Fetched::Header(const std::string& name) const {
    for (const std::string& line : headerLines) {
        const auto colon = line.find(':');
        if (colon == name.size() && strncasecmp(line.c_str(), name.c_str(), colon) == 0) {
            return line.substr(line.find_first_not_of(' ', colon + 1));
        }
    }
    return std::nullopt;
}

Fetched Fetch(const std::string& url, const FetchRequest& request) {
    const std::unique_ptr<CURL, CurlDeleter> handle(curl_easy_init());
    std::unique_ptr<curl_slist, CurlDeleter> headers;
    for (const std::string& header : request.headers) {
        headers.reset(curl_slist_append(headers.release(), header.c_str()));
    }
    Collected collected{{}, &request};
    CURL* curl = handle.get();
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, request.method.c_str());
    if (request.body) {
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.body->data());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(request.body->size()));
    }
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(curl, CURLOPT_PATH_AS_IS, request.pathAsIs ? 1L : 0L);
    if (request.caFile) {
        curl_easy_setopt(curl, CURLOPT_CAINFO, request.caFile->c_str());
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    }
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &OnBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &collected);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &OnHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &collected);
    collected.fetched.code = curl_easy_perform(curl);
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &collected.fetched.status);
    return collected.fetched;
}

}  // namespace hvx::test
