#include "session/replacement_file.h"

#include <utility>

#include "platform/file.h"
#include "platform/file_target.h"
#include "platform/last_error.h"
#include "siblings/venit/venit.h"

namespace hvx {

namespace {

HRESULT LastErrorResult() {
    return HRESULT_FROM_WIN32(os::GetLastError());
}

}  // namespace

ReplacementFile::ReplacementFile(std::u16string target) : m_target(std::move(target)) {}

ReplacementFile::~ReplacementFile() {
    if (!m_besidePath.empty()) {
        static_cast<void>(Discard());
    }
}

HRESULT ReplacementFile::Create() {
    const DWORD kind = os::CheckFileTarget(m_target.c_str());
    if (kind != ERROR_SUCCESS && kind != ERROR_FILE_NOT_FOUND) {
        const HRESULT hr = HRESULT_FROM_WIN32(kind);
        if (kind == ERROR_CANT_ACCESS_FILE || kind == ERROR_BAD_FILE_TYPE ||
            kind == ERROR_DIRECTORY_NOT_SUPPORTED) {
            error(
                u"hvx::ReplacementFile::Create: %s is a link, pipe, device or folder, not a "
                u"file; left as it is: 0x%x",
                m_target, hr);
        }
        return hr;
    }
    m_targetExisted = kind == ERROR_SUCCESS;
    HANDLE file = os::CreateFileBeside(m_target.c_str(), m_besidePath);
    if (file == INVALID_HANDLE_VALUE) {
        return LastErrorResult();
    }
    m_handle = file;
    return S_OK;
}

HRESULT ReplacementFile::Commit() {
    HRESULT hr = S_OK;
    if (!os::FlushFileBuffers(m_handle)) {
        hr = LastErrorResult();
    }
    Close();
    if (SUCCEEDED(hr) &&
        !os::MoveFileExW(m_besidePath.c_str(), m_target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        hr = LastErrorResult();
    }
    if (FAILED(hr)) {
        error(u"hvx::ReplacementFile::Commit: unable to put %s in place of %s: 0x%x", m_besidePath,
              m_target, hr);
        static_cast<void>(Discard());
        return hr;
    }
    m_besidePath.clear();
    return S_OK;
}

bool ReplacementFile::Discard() {
    Close();
    if (m_besidePath.empty()) {
        return true;
    }
    const bool removed = os::DeleteFileW(m_besidePath.c_str()) != FALSE;
    if (removed) {
        m_besidePath.clear();
    }
    return removed;
}

void ReplacementFile::Close() {
    if (m_handle != nullptr) {
        // The bytes were flushed or are being thrown away: a failing close changes nothing.
        static_cast<void>(os::CloseHandle(m_handle));
        m_handle = nullptr;
    }
}

}  // namespace hvx
