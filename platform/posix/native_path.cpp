#include "platform/posix/native_path.h"

#include <sys/stat.h>

#include "platform/last_error.h"
#include "platform/text.h"

namespace hvx::os::detail {

bool ToNativePath(const char16_t* path, std::string& native) {
    if (path == nullptr || *path == u'\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const int length =
        WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, path, -1, nullptr, 0, nullptr, nullptr);
    if (length == 0) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    std::string converted(static_cast<std::size_t>(length), '\0');
    if (WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, path, -1, converted.data(), length,
                            nullptr, nullptr) == 0) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    converted.pop_back();  // the converted terminator
    native = std::move(converted);
    return true;
}

std::u16string FromNativePath(std::string_view native) {
    if (native.empty()) {
        return {};
    }
    const int size = static_cast<int>(native.size());
    const int length =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, native.data(), size, nullptr, 0);
    if (length == 0) {
        return {};
    }
    std::u16string wide(static_cast<std::size_t>(length), u'\0');
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, native.data(), size, wide.data(),
                            length) == 0) {
        return {};
    }
    return wide;
}

DWORD MissingFileError(const std::string& native) {
    const auto slash = native.find_last_of('/');
    if (slash == std::string::npos) {
        return ERROR_FILE_NOT_FOUND;
    }
    const std::string folder = slash == 0 ? std::string("/") : native.substr(0, slash);
    struct stat info {};
    const bool folderExists = ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    return folderExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

}  // namespace hvx::os::detail
