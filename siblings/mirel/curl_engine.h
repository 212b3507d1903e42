// hvx::mirel::CurlEngine, the transfer engine instance behind CreateNCPClassInstance: one libcurl
// easy handle, its header list, its in-memory response body, its transfer limits and its error
// buffer. The rules it keeps are listed in siblings/mirel/mirel.h.
//
// An instance is used by one thread at a time; it may move between threads between transfers.
#pragma once

#include <curl/curl.h>

#include <array>
#include <cstdint>
#include <memory>

#include "interfaces/ITransferEngine.h"
#include "siblings/mirel/body_sink.h"
#include "siblings/mirel/curl_handles.h"
#include "siblings/mirel/header_list.h"
#include "siblings/mirel/response_body.h"
#include "siblings/mirel/stall_guard.h"

namespace hvx::mirel {

class CurlEngine final : public ITransferEngine {
public:
    // A ready instance, or null when libcurl or the handle cannot be set up.
    static std::unique_ptr<CurlEngine> Create();

    ~CurlEngine() = default;
    CurlEngine(const CurlEngine&) = delete;
    CurlEngine& operator=(const CurlEngine&) = delete;
    CurlEngine(CurlEngine&&) = delete;
    CurlEngine& operator=(CurlEngine&&) = delete;

    // Returns the handle to the engine's defaults: every option, header line, port and callback
    // the caller set is dropped, and the buffered body is emptied.
    int Setup() override;
    int SetOption(int option, std::int64_t value) override;
    int GetResponseCode(std::uint32_t* code) override;
    // libcurl's text for the last result, "No error" after a success.
    const char* GetLastErrorText() override;
    // libcurl's error buffer of the last transfer, or the reason the engine refused the last
    // call; "" when there is neither.
    const char* GetErrorBufferText() override;
    int SetCallback(int option, void* function) override;
    int SetCallbackData(int option, void* data) override;
    int Get(const char16_t* url) override;
    int AppendHeader(const char16_t* line) override;
    int Post(const char16_t* url, const char* body, std::uint32_t length) override;
    int Put(const char16_t* url, const char* body, std::uint32_t length) override;
    int ReadBody(char* buffer, std::uint32_t capacity, std::uint32_t* count) override;
    int SetSslVerification(std::uint32_t flags, int reserved, void* reservedPointer) override;
    int GetUnreadBodyLength(std::uint64_t* length) override;
    int SetTransferLimits(const TransferLimits* limits) override;
    int GetReceivedBodyLength(std::uint64_t* length) override;

private:
    enum class Method { kGet, kPost, kPut };
    struct Request {
        Method method = Method::kGet;
        const char* body = nullptr;
        std::uint32_t length = 0;
    };
    // The body of a PUT, handed to libcurl's read callback.
    struct UploadSource {
        const char* next = nullptr;
        std::size_t left = 0;
        static std::size_t Read(char* buffer, std::size_t size, std::size_t count,
                                void* user) noexcept;
    };
    // The caller's progress callback (libcurl's older form or its newer one) and whether the
    // caller turned progress on. The engine's own progress callback runs the stall rule and
    // passes each call on.
    struct CallerProgress {
        void* progress = nullptr;
        void* xferinfo = nullptr;
        void* data = nullptr;
        bool on = false;
        int Call(curl_off_t downloadTotal, curl_off_t downloaded, curl_off_t uploadTotal,
                 curl_off_t uploaded) const;
    };

    explicit CurlEngine(EasyPtr easy);

    [[nodiscard]] CURLcode ApplyDefaults();
    [[nodiscard]] CURLcode Refuse(CURLcode code, const char* reason);
    int Record(CURLcode result);

    // Options (engine_options.cpp).
    [[nodiscard]] CURLcode ApplyNumberOption(int option, std::int64_t value);
    [[nodiscard]] CURLcode ApplyPointerOption(int option, void* pointer);
    [[nodiscard]] CURLcode SetDefaultPort(std::int64_t port);
    [[nodiscard]] CURLcode SetCallerTimeout(int option, std::int64_t value);
    // Options whose caller's value the engine keeps for itself; null when `option` is not one.
    void** CallerPointer(CURLoption option);

    // Transfers (engine_transfer.cpp).
    [[nodiscard]] CURLcode Transfer(const char16_t* url, const Request& request);
    [[nodiscard]] CURLcode PrepareTransfer(const char16_t* url, const Request& request);
    [[nodiscard]] CURLcode ApplyUrl(const char16_t* url);
    [[nodiscard]] CURLcode ApplyMethod(const Request& request);
    [[nodiscard]] CURLcode ApplyWriteTarget();
    [[nodiscard]] CURLcode ResetMethod();

    // Limits (engine_limits.cpp).
    [[nodiscard]] CURLcode ApplyLimits();
    // The result of a transfer that a limit ended, with the reason in the error buffer.
    [[nodiscard]] CURLcode Conclude(CURLcode result);
    static int OnProgress(void* user, curl_off_t downloadTotal, curl_off_t downloaded,
                          curl_off_t uploadTotal, curl_off_t uploaded) noexcept;

    HeaderList m_headers;
    ResponseBody m_body;
    BodySink m_sink;
    StallGuard m_stall;
    TransferLimits m_limits = kDefaultTransferLimits;
    UploadSource m_upload;
    CallerWrite m_callerWrite;
    CallerProgress m_callerProgress;
    // The caller's CURLOPT_TIMEOUT or CURLOPT_TIMEOUT_MS, in milliseconds; 0 for none.
    std::int64_t m_callerTimeoutMs = 0;
    long m_defaultPort = 0;
    CURLcode m_lastCode = CURLE_OK;
    std::array<char, CURL_ERROR_SIZE> m_errorBuffer{};
    // Declared last: the handle goes first, while the buffers it points to still exist.
    EasyPtr m_easy;
};

}  // namespace hvx::mirel
