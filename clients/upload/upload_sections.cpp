// The sections of an upload: plain values, files, the memory buffer and the agent's identity.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "clients/upload/http_upload.h"
#include "siblings/venit/venit.h"
#include "support/config_keys.h"
#include "support/config_singleton.h"
#include "support/trace_levels.h"

namespace hvx {

namespace {

constexpr const char16_t* kDisposition = u"Content-Disposition";
constexpr const char16_t* kFormData = u"form-data";
constexpr const char16_t* kContentType = u"Content-Type";
constexpr const char16_t* kOctetStream = u"application/octet-stream";
constexpr const char16_t* kFileSectionName = u"file";

// A handle's value as the 32-bit number the log shows.
std::uint32_t HandleValue(HANDLE file) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(file));
}

// Room left before a content is at most this: beyond it (a later upload on the same client has
// the earlier files before its own) the body is built by copying.
constexpr std::size_t kMaxRoomBefore = std::size_t{1} << 20U;
// Room after a buffer's copy for the rest of the body: CR LF, the closing line, small sections.
constexpr std::size_t kRoomAfter = 4096;

// A file section, without content yet: form-data with name and filename,
// application/octet-stream.
MultipartSection FileSection(const char16_t* name, const char16_t* fileName) {
    MultipartSection section;
    static_cast<void>(CHttpCurl::AddSectionHeader(section, kDisposition, kFormData));
    static_cast<void>(CHttpCurl::AddSectionHeader(section, kContentType, kOctetStream));
    static_cast<void>(CHttpCurl::AddSectionParameter(section, u"name", name));
    static_cast<void>(CHttpCurl::AddSectionParameter(section, u"filename", fileName));
    return section;
}

// Narrow texts of the store, handed back to it.
struct StoreTextRelease {
    IConfig* config;
    void operator()(char* text) const { config->FreeStringA(text); }
};
using StoreText = std::unique_ptr<char, StoreTextRelease>;

}  // namespace

HRESULT CHttpUpload::AddSection(const char16_t* name, const void* value, std::uint32_t length) {
    if (name == nullptr || value == nullptr || length == 0) {
        return HVX_E_INVALID_ARGUMENT;
    }
    MultipartSection section;
    static_cast<void>(CHttpCurl::AddSectionHeader(section, kDisposition, kFormData));
    static_cast<void>(CHttpCurl::AddSectionParameter(section, u"name", name));
    const auto* bytes = static_cast<const char*>(value);
    section.data.assign(bytes, bytes + length);
    m_http.AddSection(std::move(section));
    return S_OK;
}

HRESULT CHttpUpload::AddFileSection(const char16_t* name, const char16_t* fileName, HANDLE file) {
    if (name == nullptr || fileName == nullptr) {
        error(u"hvx::CHttpUpload::AddFileSection: invalid params (%s, %s)", name, fileName);
        return HVX_E_INVALID_ARGUMENT;
    }
    MultipartSection section = FileSection(name, fileName);
    LeaveRoom(section, 0);
    if (ReadContents(file, section.data) != S_OK) {
        error("hvx::CHttpUpload::AddFileSection: unable to read contents (0x%x)",
              HandleValue(file));
        return HVX_E_INVALID_ARGUMENT;
    }
    m_http.AddSection(std::move(section));
    return S_OK;
}

HRESULT CHttpUpload::AddFileMemorySection(const std::uint8_t* buffer, std::uint32_t length,
                                          const char16_t* fileName) {
    if (fileName == nullptr) {
        error(u"hvx::CHttpUpload::AddFileMemorySection: invalid params (%s, %s)", kFileSectionName,
              fileName);
        return HVX_E_INVALID_ARGUMENT;
    }
    MultipartSection section = FileSection(kFileSectionName, fileName);
    if (buffer != nullptr) {
        LeaveRoom(section, std::size_t{length} + kRoomAfter);
        const auto* bytes = reinterpret_cast<const char*>(buffer);
        section.data.assign(bytes, bytes + length);
    }
    m_http.AddSection(std::move(section));
    return S_OK;
}

void CHttpUpload::LeaveRoom(MultipartSection& section, std::size_t count) const {
    // Without the room the body is built by copying: the same bytes, only slower.
    const std::size_t before = m_http.MultipartContentOffset(section);
    if (before > 0 && before <= kMaxRoomBefore) {
        static_cast<void>(section.data.Reserve(before, count));
    }
}

HRESULT CHttpUpload::AddRecapSections(std::int32_t encrypted) {
    IConfig* config = CConfigSingleton::GetInstance();
    if (config == nullptr) {
        trace(kTraceUpload, "CHttpUpload loader failed to get/load config");
        return HVX_E_CONFIG_UNAVAILABLE;
    }
    const StoreText version(config->GetStringA(keys::kAgentVersion), StoreTextRelease{config});
    const StoreText guid(config->GetStringA(keys::kAgentUuid), StoreTextRelease{config});
    if (guid) {
        const std::string text(guid.get());
        if (const HRESULT hr =
                AddSection(u"agent-guid", text.data(), static_cast<std::uint32_t>(text.size()));
            FAILED(hr)) {
            error("hvx::CHttpUpload::AddRecapSections: unable to add agent-guid");
            return hr;
        }
    }
    if (version) {
        const std::string text(version.get());
        if (const HRESULT hr =
                AddSection(u"version", text.data(), static_cast<std::uint32_t>(text.size()));
            FAILED(hr)) {
            error("hvx::CHttpUpload::AddRecapSections: unable to add version");
            return hr;
        }
    }
    const std::string flag = std::to_string(encrypted);
    const HRESULT hr =
        AddSection(u"encrypted", flag.data(), static_cast<std::uint32_t>(flag.size()));
    if (FAILED(hr)) {
        error("hvx::CHttpUpload::AddRecapSections: unable to add encrypted");
    }
    return hr;
}

}  // namespace hvx
