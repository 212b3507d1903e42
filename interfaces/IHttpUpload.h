// IHttpUpload: multipart file upload, handed out by GetIHttpUpload and destroyed only by
// ReleaseIHTTPUpload. The two UploadFile operations take the first two slots in the order
// declared here, as GCC and Clang (and so mingw-w64, which builds caspo.dll) lay out overloaded
// virtual functions; do not reorder them. There is no virtual destructor.
//
// The extra sections cross the boundary as UploadFields: a pointer to an array of pairs of
// zero-terminated UTF-16 texts and a count. A caller builds it from plain memory, so it needs
// neither caspo's C++ standard library nor its allocator, and keeps it until UploadFile returns.
// The client visits the entries in ascending order of their names (ordinal comparison of the
// UTF-16 code units, as a std::map<std::u16string, ...> orders them); when a name appears more
// than once, the last entry with that name wins. A null name or value counts as empty text.
#pragma once

#include <cstdint>

#include "interfaces/hvx_types.h"

namespace hvx {

struct UploadField {
    const char16_t* name;
    const char16_t* value;
};

struct UploadFields {
    const UploadField* entries;  // may be null when count is 0
    std::uint32_t count;
};

// At most this many extra sections; a larger count fails the upload with HVX_E_UPLOAD_SECTION.
inline constexpr std::uint32_t kMaxUploadFields = 1024;

class IHttpUpload {
public:
    // One "multipart/form-data" POST of, in this order: the extra sections by name, the agent's
    // identity ("agent-guid", "version", "encrypted", when `addIdentity` is non-zero), the file
    // (section "file", filename `fileName`), the metadata file (section "metadata", filename
    // `metaName`) and the buffer (section "file", filename `fileName` or "MemoryFile"). A file
    // is read from the handle's current position to its end; handles are neither moved back
    // nor closed. With a non-null `user` the request carries basic authentication as "user:" and
    // the password. Sections of earlier calls on the same object are sent again, ahead of these.
    //   HVX_E_UPLOAD_SECTION: a section could not be added (an empty extra value, a null or
    //     invalid handle, a file of 4 GiB or more, too many extra sections); nothing was sent.
    //   HVX_E_UPLOAD_STATUS: the server answered with a status below 200 or above 399.
    //   Otherwise the request's own result: 0 for a 200 answer with a body or a 304,
    //   HVX_E_NO_RESPONSE_BODY for a 200 without body, E_FAIL for a 3xx other than 304,
    //   HVX_E_TRANSFER_FAILED when no answer came.
    virtual HRESULT UploadFile(const char16_t* url, const char16_t* user, const char16_t* password,
                               const char16_t* fileName, HANDLE file, const char16_t* metaName,
                               HANDLE metaFile, const std::uint8_t* buffer,
                               std::uint32_t bufferLength, std::int32_t addIdentity,
                               std::int32_t encrypted, const UploadFields* extra) = 0;
    // The same without extra sections.
    virtual HRESULT UploadFile(const char16_t* url, const char16_t* user, const char16_t* password,
                               const char16_t* fileName, HANDLE file, const char16_t* metaName,
                               HANDLE metaFile, const std::uint8_t* buffer,
                               std::uint32_t bufferLength, std::int32_t addIdentity,
                               std::int32_t encrypted) = 0;

protected:
    IHttpUpload() = default;
    ~IHttpUpload() = default;
    IHttpUpload(const IHttpUpload&) = default;
    IHttpUpload& operator=(const IHttpUpload&) = default;
    IHttpUpload(IHttpUpload&&) = default;
    IHttpUpload& operator=(IHttpUpload&&) = default;
};

}  // namespace hvx
