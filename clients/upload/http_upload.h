// hvx::CHttpUpload: the multipart file upload client (IHttpUpload). It embeds one session for its
// whole life; every section it makes is appended to that session, so a later upload on the same
// client sends the sections of the earlier ones again, ahead of its own.
#pragma once

#include <cstddef>
#include <cstdint>

#include "interfaces/IHttpUpload.h"
#include "session/http_curl.h"

namespace hvx {

// A file's content is read into memory whole; 4 GiB or more cannot go into one body.
inline constexpr std::uint64_t kMaxUploadContent = 0xFFFFFFFFull;

class CHttpUpload final : public IHttpUpload {
public:
    CHttpUpload() = default;
    ~CHttpUpload() = default;
    CHttpUpload(const CHttpUpload&) = delete;
    CHttpUpload& operator=(const CHttpUpload&) = delete;
    CHttpUpload(CHttpUpload&&) = delete;
    CHttpUpload& operator=(CHttpUpload&&) = delete;

    HRESULT UploadFile(const char16_t* url, const char16_t* user, const char16_t* password,
                       const char16_t* fileName, HANDLE file, const char16_t* metaName,
                       HANDLE metaFile, const std::uint8_t* buffer, std::uint32_t bufferLength,
                       std::int32_t addIdentity, std::int32_t encrypted,
                       const UploadFields* extra) override;
    HRESULT UploadFile(const char16_t* url, const char16_t* user, const char16_t* password,
                       const char16_t* fileName, HANDLE file, const char16_t* metaName,
                       HANDLE metaFile, const std::uint8_t* buffer, std::uint32_t bufferLength,
                       std::int32_t addIdentity, std::int32_t encrypted) override;

    // A form-data section `name` holding a copy of `length` bytes. HVX_E_INVALID_ARGUMENT
    // (nothing logged) for a null name or value or a length of 0.
    [[nodiscard]] HRESULT AddSection(const char16_t* name, const void* value, std::uint32_t length);
    // A file section `name` with `fileName`, holding the file from its current position on.
    [[nodiscard]] HRESULT AddFileSection(const char16_t* name, const char16_t* fileName,
                                         HANDLE file);
    // A file section "file" with `fileName`, holding a copy of the buffer.
    [[nodiscard]] HRESULT AddFileMemorySection(const std::uint8_t* buffer, std::uint32_t length,
                                               const char16_t* fileName);
    // "agent-guid" and "version" from the store (each left out when absent) and "encrypted".
    [[nodiscard]] HRESULT AddRecapSections(std::int32_t encrypted);
    // Appends the file from its current position to its end, in blocks of 8192 bytes read
    // straight into place; a failing read ends the content. The room the contents keep before
    // their bytes stays. HVX_E_INVALID_ARGUMENT for a null or invalid handle, or when the content
    // reaches kMaxUploadContent or cannot be held in memory.
    [[nodiscard]] static HRESULT ReadContents(HANDLE file, SectionBytes& contents);

    const CHttpCurl& Session() const { return m_http; }

private:
    [[nodiscard]] HRESULT AddSections(const char16_t* fileName, HANDLE file,
                                      const char16_t* metaName, HANDLE metaFile,
                                      const std::uint8_t* buffer, std::uint32_t bufferLength,
                                      std::int32_t addIdentity, std::int32_t encrypted,
                                      const UploadFields* extra);
    [[nodiscard]] HRESULT AddExtraSections(const UploadFields& extra);
    void ApplyCredentials(const char16_t* user, const char16_t* password);
    // Leaves room before the section's content for all that the body has before it, and room
    // for `count` bytes after it, so that the body is laid around the content (multipart
    // sections of the session).
    void LeaveRoom(MultipartSection& section, std::size_t count) const;

    CHttpCurl m_http;
};

}  // namespace hvx
