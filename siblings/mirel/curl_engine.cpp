#include "siblings/mirel/curl_engine.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "siblings/mirel/first_failure.h"
#include "siblings/mirel/process_share.h"

namespace hvx::mirel {
namespace {

// libcurl's CURLOPT_SSL_VERIFYHOST value that checks the certificate's name against the host.
constexpr long kVerifyHostByName = 2L;
constexpr long kVerifyPeerOn = 1L;
// The engine speaks HTTP only; a file:// or other URL is refused by libcurl.
constexpr const char* kAllowedProtocols = "http,https";

}  // namespace

std::unique_ptr<CurlEngine> CurlEngine::Create() {
    if (EnsureCurlGlobal() != CURLE_OK) {
        return nullptr;
    }
    EasyPtr easy(curl_easy_init());
    if (!easy) {
        return nullptr;
    }
    // The constructor is private, so std::make_unique cannot reach it.
    std::unique_ptr<CurlEngine> engine(new CurlEngine(std::move(easy)));
    if (engine->ApplyDefaults() != CURLE_OK) {
        return nullptr;
    }
    return engine;
}

CurlEngine::CurlEngine(EasyPtr easy) : m_easy(std::move(easy)) {}

int CurlEngine::Setup() {
    curl_easy_reset(m_easy.get());
    m_body.Clear();
    m_limits = kDefaultTransferLimits;
    m_upload = {};
    m_callerWrite = {};
    m_callerProgress = {};
    m_callerTimeoutMs = 0;
    m_defaultPort = 0;
    m_errorBuffer.fill('\0');
    return Record(ApplyDefaults());
}

CURLcode CurlEngine::ApplyDefaults() {
    CURLSH* share = ProcessShare();
    if (share == nullptr) {
        return CURLE_OUT_OF_MEMORY;
    }
    CURL* easy = m_easy.get();
    const CURLcode headers = m_headers.Reset();
    if (headers != CURLE_OK) {
        return headers;
    }
    return FirstFailure({
        curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, m_errorBuffer.data()),
        curl_easy_setopt(easy, CURLOPT_SHARE, share),
        // Signals are process-wide; a library in a threaded agent must not use them.
        curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L),
        // No CA bundle is read: trust is what the caller's TLS-context callback installs.
        curl_easy_setopt(easy, CURLOPT_CAINFO, static_cast<const char*>(nullptr)),
        curl_easy_setopt(easy, CURLOPT_CAPATH, static_cast<const char*>(nullptr)),
        // libcurl would otherwise keep the first connection's certificate store in the thread's
        // multi handle and give it to later connections, whatever their own callback installs.
        curl_easy_setopt(easy, CURLOPT_CA_CACHE_TIMEOUT, 0L),
        curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L),
        curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, kAllowedProtocols),
        curl_easy_setopt(easy, CURLOPT_READFUNCTION, &UploadSource::Read),
        curl_easy_setopt(easy, CURLOPT_READDATA, &m_upload),
        // The stall rule runs in the engine's progress callback, which passes each call on to
        // the caller's.
        curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &CurlEngine::OnProgress),
        curl_easy_setopt(easy, CURLOPT_XFERINFODATA, this),
        curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L),
    });
}

CURLcode CurlEngine::Refuse(CURLcode code, const char* reason) {
    const std::size_t length = std::min(std::strlen(reason), m_errorBuffer.size() - 1);
    std::memcpy(m_errorBuffer.data(), reason, length);
    m_errorBuffer.at(length) = '\0';
    return code;
}

int CurlEngine::Record(CURLcode result) {
    m_lastCode = result;
    return static_cast<int>(result);
}

int CurlEngine::GetResponseCode(std::uint32_t* code) {
    if (code == nullptr) {
        return CURLE_BAD_FUNCTION_ARGUMENT;
    }
    long status = 0;
    const CURLcode result = curl_easy_getinfo(m_easy.get(), CURLINFO_RESPONSE_CODE, &status);
    *code = static_cast<std::uint32_t>(status);
    return static_cast<int>(result);
}

const char* CurlEngine::GetLastErrorText() {
    return curl_easy_strerror(m_lastCode);
}

const char* CurlEngine::GetErrorBufferText() {
    return m_errorBuffer.data();
}

int CurlEngine::AppendHeader(const char16_t* line) {
    std::string utf8;
    if (const char* reason = ToHeaderLine(line, utf8)) {
        return Record(Refuse(CURLE_BAD_FUNCTION_ARGUMENT, reason));
    }
    return Record(m_headers.Append(utf8));
}

int CurlEngine::ReadBody(char* buffer, std::uint32_t capacity, std::uint32_t* count) {
    if (count == nullptr || (buffer == nullptr && capacity > 0)) {
        return CURLE_BAD_FUNCTION_ARGUMENT;
    }
    *count = m_body.Read(buffer, capacity);
    return CURLE_OK;
}

int CurlEngine::GetUnreadBodyLength(std::uint64_t* length) {
    if (length == nullptr) {
        return CURLE_BAD_FUNCTION_ARGUMENT;
    }
    *length = m_body.Unread();
    return CURLE_OK;
}

int CurlEngine::SetSslVerification(std::uint32_t flags, int /*reserved*/,
                                   void* /*reservedPointer*/) {
    const long host = (flags & kVerifyHost) != 0 ? kVerifyHostByName : 0L;
    const long peer = (flags & kVerifyPeer) != 0 ? kVerifyPeerOn : 0L;
    return Record(FirstFailure({
        curl_easy_setopt(m_easy.get(), CURLOPT_SSL_VERIFYHOST, host),
        curl_easy_setopt(m_easy.get(), CURLOPT_SSL_VERIFYPEER, peer),
    }));
}

}  // namespace hvx::mirel
