// hvx::CHttpUpload::UploadFile: the sections, the credentials and the POST that carries them.
#include <algorithm>
#include <cstdint>
#include <map>
#include <string>

#include "clients/upload/http_upload.h"
#include "siblings/venit/util.h"
#include "siblings/venit/venit.h"
#include "support/text_utils.h"
#include "support/trace_levels.h"

namespace hvx {

namespace {

constexpr const char16_t* kContentType = u"Content-Type";
constexpr const char16_t* kMultipart = u"multipart/form-data";
constexpr const char16_t* kMemoryFileName = u"MemoryFile";
constexpr std::int64_t kBasicAuth = 1;  // CURLAUTH_BASIC
constexpr std::uint32_t kLowestAccepted = 200;
constexpr std::uint32_t kHighestAccepted = 399;

std::u16string TextOrEmpty(const char16_t* text) {
    return text != nullptr ? std::u16string(text) : std::u16string();
}

// A pointer to text as the engine's option value.
std::int64_t TextOption(const char* text) {
    return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(text));
}

bool CarriesMultipartHeader(const CHttpCurl& session) {
    return std::ranges::any_of(session.Headers(), [](const TextPair& header) {
        return header.first == kContentType && header.second == kMultipart;
    });
}

}  // namespace

HRESULT CHttpUpload::UploadFile(const char16_t* url, const char16_t* user, const char16_t* password,
                                const char16_t* fileName, HANDLE file, const char16_t* metaName,
                                HANDLE metaFile, const std::uint8_t* buffer,
                                std::uint32_t bufferLength, std::int32_t addIdentity,
                                std::int32_t encrypted) {
    return UploadFile(url, user, password, fileName, file, metaName, metaFile, buffer, bufferLength,
                      addIdentity, encrypted, nullptr);
}

HRESULT CHttpUpload::UploadFile(const char16_t* url, const char16_t* user, const char16_t* password,
                                const char16_t* fileName, HANDLE file, const char16_t* metaName,
                                HANDLE metaFile, const std::uint8_t* buffer,
                                std::uint32_t bufferLength, std::int32_t addIdentity,
                                std::int32_t encrypted, const UploadFields* extra) {
    if (url == nullptr) {
        return S_FALSE;
    }
    // A failed Init shows up as a failed request.
    static_cast<void>(m_http.Init(u"POST", url, {}, nullptr, 0));
    // The session keeps its headers across uploads; one Content-Type line is enough.
    if (!CarriesMultipartHeader(m_http)) {
        m_http.AddHeader(kContentType, kMultipart);
    }
    ApplyCredentials(user, password);
    if (const HRESULT hr = AddSections(fileName, file, metaName, metaFile, buffer, bufferLength,
                                       addIdentity, encrypted, extra);
        FAILED(hr)) {
        return hr;
    }
    std::uint32_t status = 0;
    std::string response;
    const HRESULT hr = m_http.MakeRequestToString(status, response);
    trace(kTraceUpload, "hvx::CHttpUpload::UploadFile: HTTP response: 0x%x, %d", hr, status);
    if (status < kLowestAccepted || status > kHighestAccepted) {
        error("hvx::CHttpUpload::UploadFile: failed to send file: %d", status);
        return HVX_E_UPLOAD_STATUS;
    }
    return hr;
}

void CHttpUpload::ApplyCredentials(const char16_t* user, const char16_t* password) {
    const Util::UniqueMem<char> narrowUser(Util::ConvertWCHARToString(user));
    if (!narrowUser) {
        return;
    }
    static_cast<void>(m_http.SetOption(curlopt::kHttpAuth, kBasicAuth));
    std::string credentials = std::string(narrowUser.get()) + ":";
    const Util::UniqueMem<char> narrowPassword(Util::ConvertWCHARToString(password));
    if (narrowPassword) {
        credentials += narrowPassword.get();
    }
    // The engine copies the text.
    static_cast<void>(m_http.SetOption(curlopt::kUserPwd, TextOption(credentials.c_str())));
}

HRESULT CHttpUpload::AddSections(const char16_t* fileName, HANDLE file, const char16_t* metaName,
                                 HANDLE metaFile, const std::uint8_t* buffer,
                                 std::uint32_t bufferLength, std::int32_t addIdentity,
                                 std::int32_t encrypted, const UploadFields* extra) {
    if (extra != nullptr) {
        if (const HRESULT hr = AddExtraSections(*extra); FAILED(hr)) {
            return hr;
        }
    }
    if (addIdentity != 0 && FAILED(AddRecapSections(encrypted))) {
        error("hvx::CHttpUpload::UploadFile: failed to add recap section");
        return HVX_E_UPLOAD_SECTION;
    }
    if (fileName != nullptr && FAILED(AddFileSection(u"file", fileName, file))) {
        error("hvx::CHttpUpload::UploadFile: failed to add file section");
        return HVX_E_UPLOAD_SECTION;
    }
    if (metaName != nullptr && FAILED(AddFileSection(u"metadata", metaName, metaFile))) {
        error("hvx::CHttpUpload::UploadFile: failed to add meta file section");
        return HVX_E_UPLOAD_SECTION;
    }
    if (buffer != nullptr &&
        FAILED(AddFileMemorySection(buffer, bufferLength,
                                    fileName != nullptr ? fileName : kMemoryFileName))) {
        error("hvx::CHttpUpload::UploadFile: failed to add file data section");
        return HVX_E_UPLOAD_SECTION;
    }
    return S_OK;
}

HRESULT CHttpUpload::AddExtraSections(const UploadFields& extra) {
    if (extra.count > kMaxUploadFields || (extra.entries == nullptr && extra.count > 0)) {
        error("hvx::CHttpUpload::UploadFile: invalid extra sections (%u)", extra.count);
        return HVX_E_UPLOAD_SECTION;
    }
    // Ordered by name as the caller's map would be; a later entry replaces an earlier one.
    std::map<std::u16string, std::u16string> sections;
    for (std::uint32_t i = 0; i < extra.count; ++i) {
        sections.insert_or_assign(TextOrEmpty(extra.entries[i].name),
                                  TextOrEmpty(extra.entries[i].value));
    }
    for (const auto& [name, value] : sections) {
        std::string utf8;
        // A value that does not convert is sent as empty text, which no section accepts.
        static_cast<void>(WideToUtf8(value, utf8));
        if (FAILED(
                AddSection(name.c_str(), utf8.data(), static_cast<std::uint32_t>(utf8.size())))) {
            error(u"hvx::CHttpUpload::UploadFile: failed to add section: %s", name);
            return HVX_E_UPLOAD_SECTION;
        }
    }
    return S_OK;
}

}  // namespace hvx
