// hvx::CHttpCurl: the one HTTP session of the library. A client creates a session, binds it to
// one method and URL with Init, adds headers, form fields or multipart sections, and runs the
// request. The session drives one transfer-engine instance (mirel) and reads its settings from
// the configuration store. It has no lock: one thread uses it at a time.
//
// The destructor is not virtual: sessions are destroyed through their own type (by value inside
// a client, or by the release exports).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "interfaces/IConfig.h"
#include "interfaces/IHttp.h"
#include "interfaces/ITransferEngine.h"
#include "interfaces/hvx_types.h"
#include "session/multipart_section.h"
#include "session/url_parts.h"

namespace hvx {

using NarrowPair = std::pair<std::string, std::string>;
struct MultipartBody;

class CHttpCurl final : public IHttpSession {
public:
    CHttpCurl();
    ~CHttpCurl();
    CHttpCurl(const CHttpCurl&) = delete;
    CHttpCurl& operator=(const CHttpCurl&) = delete;
    CHttpCurl(CHttpCurl&&) = delete;
    CHttpCurl& operator=(CHttpCurl&&) = delete;

    // IHttp, slots 1 to 6.
    HRESULT Init(const char16_t* method, const char16_t* url, ShutdownCallback shutdown,
                 IConfig* config) override;
    HRESULT AddFormField(const char16_t* name, const char16_t* value) override;
    HRESULT MakeRequest(std::uint32_t* status, std::uint32_t* size, char* buffer) override;
    HRESULT MakeFileRequest(std::uint32_t* status, const char16_t* path) override;
    HRESULT AddHeader(const char16_t* name, const char16_t* value) override;
    HRESULT SetOption(int option, std::int64_t value) override;
    // Slot 7, the session's own: S_FALSE when either text is null, else appends and gives 0.
    HRESULT AddRequestHeader(const char16_t* name, const char16_t* value) override;

    // Set-up. `timeoutSeconds` is the whole-transfer time-out, 0 for none. A null `config`
    // takes the process-wide store. On a session bound before, a URL that passes the check
    // first releases the previous engine instance and undoes the previous binding
    // (ResetBinding).
    [[nodiscard]] HRESULT Init(std::u16string method, std::u16string url, ShutdownCallback shutdown,
                               IConfig* config, std::uint32_t timeoutSeconds);
    // Reads the proxy settings from the store and applies them to the engine instance.
    [[nodiscard]] HRESULT SetProxySettings();

    // Request building.
    HRESULT AddRequestHeader(std::u16string name, std::u16string value);
    [[nodiscard]] HRESULT AddFormField(std::u16string name, std::u16string value);
    [[nodiscard]] HRESULT AddFormField(std::u16string name, std::uint32_t value);
    [[nodiscard]] HRESULT AddFormField(std::u16string name, std::uint64_t value);
    // Appends a copy of a finished section; every later POST of the session carries it.
    void AddSection(const MultipartSection& section);
    // The same without a copy: a file's content is held once by the section.
    void AddSection(MultipartSection&& section);
    static HRESULT AddSectionHeader(MultipartSection& section, std::u16string name,
                                    std::u16string value);
    static HRESULT AddSectionParameter(MultipartSection& section, std::u16string name,
                                       std::u16string value);
    static void GenerateBoundary(std::string& target);
    // The multipart body in one buffer from malloc (released with free), and its length.
    [[nodiscard]] HRESULT BuildMultipartBody(char** buffer, std::uint32_t* length);
    // Where the content of `next` would start in the body if it were appended now: the room a
    // producer leaves before a large section's content, so that a POST lays the body around the
    // content instead of copying it. 0 when a head cannot be converted to UTF-8.
    std::size_t MultipartContentOffset(const MultipartSection& next) const;

    // Running a request.
    [[nodiscard]] HRESULT MakeRequest(std::uint32_t& status, std::vector<char>& body);
    [[nodiscard]] HRESULT MakeRequestToString(std::uint32_t& status, std::string& body);
    [[nodiscard]] HRESULT MakeRequestToWideString(std::uint32_t& status, std::u16string& body);
    [[nodiscard]] HRESULT MakeFileRequest(std::uint32_t& status, std::u16string path);

    // A non-empty value replaces the last Last-Modified value (0); an empty one changes
    // nothing (HVX_E_INVALID_ARGUMENT).
    HRESULT SetLastModified(std::u16string value);

    // Engine callbacks; `session` is the CHttpCurl.
    static std::size_t ParseHeader(char* data, std::size_t size, std::size_t count, void* session);
    static int GetShutdownStatus(void* session, double downloadTotal, double downloaded,
                                 double uploadTotal, double uploaded);
    static int curl_print_callback(void* handle, int infoType, char* data, std::size_t size,
                                   void* user);
    static std::size_t WriteData(char* data, std::size_t size, std::size_t count, void* session);

    // What the session holds, for its clients and for tests.
    const std::u16string& UserAgent() const { return m_userAgent; }
    const std::u16string& Scheme() const { return m_url.scheme; }
    const std::u16string& Host() const { return m_url.host; }
    const std::u16string& Path() const { return m_url.path; }
    std::uint16_t Port() const { return m_port; }
    const std::u16string& Method() const { return m_method; }
    const std::vector<TextPair>& Headers() const { return m_headers; }
    const std::vector<NarrowPair>& FormFields() const { return m_formFields; }
    const std::string& Boundary() const { return m_boundary; }
    const std::vector<MultipartSection>& Sections() const { return m_sections; }
    const std::u16string& LastModified() const { return m_lastModified; }
    const std::u16string& ErrorText() const { return m_errorText; }
    ITransferEngine* Engine() const { return m_pICurl; }
    IConfig* Config() const { return m_pConfig; }
    bool HasShutdownCallback() const { return static_cast<bool>(m_shutdownCallback); }

private:
    // Steps of a request.
    [[nodiscard]] HRESULT SendRequest();
    [[nodiscard]] HRESULT GetResponse(std::uint32_t& status);
    [[nodiscard]] HRESULT ParseErrorBody(const char* bytes, std::size_t count, HRESULT& code,
                                         std::u16string& detail);
    void ApplyHeaders();
    std::string BuildFormBody() const;
    // The multipart body of a POST (multipart_in_place.cpp): laid in the room around the largest
    // section's content that has room enough before it, else built by BuildMultipartBody. The
    // results and the bytes are those of BuildMultipartBody. ReleaseMultipartBody, after the
    // transfer, gives back what laying the body added to the section's room.
    [[nodiscard]] HRESULT PrepareMultipartBody(MultipartBody& body);
    void ReleaseMultipartBody(MultipartBody& body);
    bool IsPostContentLoggable() const;
    // The engine's error-buffer text, decoded from UTF-8 (empty when it is not UTF-8).
    std::u16string EngineErrorText() const;
    // The engine's last-error text, or "m_pICurl is NULL".
    const char* EngineLastError() const;
    // Runs the engine operation of m_method; any other method transfers nothing and
    // `portOutcome` stands for the outcome (send_request.cpp).
    int PerformTransfer(const std::u16string& url, const char* body, std::uint32_t length,
                        int portOutcome);
    // The result of a 4xx or 5xx answer, from its error body (response.cpp).
    [[nodiscard]] HRESULT MapErrorStatus(std::uint32_t status);
    // Steps of MakeRequest (make_request.cpp): the limits, the transfer and the status; the
    // result when no body could be read; the log line of a failed request, which gives back its
    // result.
    [[nodiscard]] HRESULT StartRequest(std::uint32_t& status, const TransferLimits& limits);
    [[nodiscard]] HRESULT NoResponseBody();
    HRESULT RequestFailed(HRESULT result);

    // A step of MakeFileRequest (file_request.cpp): the write callback, whose failures are only
    // logged. The file being written is in m_hFile while the body comes in.
    void InstallWriteCallback(std::u16string& errorText);

    // The engine instance back to mirel, if the session has one.
    void ReleaseEngine();
    // Undoes what Init set: the engine instance goes back to mirel, and the user agent, URL,
    // port, method, callable and store are those of a constructed session again. What was added
    // to the request (headers, form fields, sections and their boundary) and what the last
    // answer left (Last-Modified, error text) stay: the upload client initialises its one
    // session again for every upload and sends the earlier sections again.
    void ResetBinding();

    // Steps of Init, in the order they run (session_init.cpp). `pending` collects the failures
    // of the basic engine options as E_UNEXPECTED.
    [[nodiscard]] HRESULT CreateEngine();
    void ConfigureEngine(HRESULT& pending);
    [[nodiscard]] HRESULT LoadTrust(IConfig* config);
    void ApplyUserAgent(HRESULT& pending);
    void ApplyTlsVerification();
    void InstallSslContext();
    void ApplyConnectTimeout();
    void ApplyEngineDiagnostics();
    void ApplyTransferTimeout(std::uint32_t timeoutSeconds, std::u16string& errorText);
    void InstallProgressCallback(std::u16string& errorText);

    std::u16string m_userAgent;
    url::Parts m_url;
    std::uint16_t m_port;
    std::u16string m_method;
    std::vector<TextPair> m_headers;
    std::vector<NarrowPair> m_formFields;
    std::string m_boundary;
    std::vector<MultipartSection> m_sections;
    std::u16string m_lastModified;
    ShutdownCallback m_shutdownCallback;
    ITransferEngine* m_pICurl = nullptr;
    IConfig* m_pConfig = nullptr;
    std::u16string m_errorText;
    HANDLE m_hFile = nullptr;
};

}  // namespace hvx
