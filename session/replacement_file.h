// A file that the library writes in full or not at all (platform/file_target.h): the bytes go to
// a new file beside the target, which takes the target's name only on Commit. Whatever happens
// before that, the target keeps what it held; a file beside it that was not committed is removed
// by Discard or, at the latest, by the destructor.
#pragma once

#include <string>

#include "platform/base_types.h"

namespace hvx {

class ReplacementFile {
public:
    explicit ReplacementFile(std::u16string target);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;
    ReplacementFile(ReplacementFile&&) = delete;
    ReplacementFile& operator=(ReplacementFile&&) = delete;

    // Looks at the target and creates the file beside it. A link, pipe, socket, device or folder
    // at the target is refused with a record naming it, and nothing is created. Results: S_OK, or
    // HRESULT_FROM_WIN32 of ERROR_CANT_ACCESS_FILE (a link), ERROR_BAD_FILE_TYPE (a pipe, socket
    // or device), ERROR_DIRECTORY_NOT_SUPPORTED (a folder), ERROR_PATH_NOT_FOUND (no such
    // folder) or another error of creating the file.
    [[nodiscard]] HRESULT Create();

    // The file beside the target, open for writing without sharing, between Create and
    // Commit or Discard; null otherwise.
    HANDLE Handle() const { return m_handle; }
    const std::u16string& BesidePath() const { return m_besidePath; }
    // Whether a regular file was at the target when Create looked.
    bool TargetExisted() const { return m_targetExisted; }

    // Writes the bytes through to the disk, closes the file and moves it onto the target. On
    // failure (logged, HRESULT_FROM_WIN32 of the error) the file beside the target is removed and
    // the target is as it was.
    [[nodiscard]] HRESULT Commit();

    // Closes and removes the file beside the target. False, with the last error set, when it
    // could not be removed and stays behind.
    [[nodiscard]] bool Discard();

private:
    void Close();

    std::u16string m_target;
    std::u16string m_besidePath;
    HANDLE m_handle = nullptr;
    bool m_targetExisted = false;
};

}  // namespace hvx
