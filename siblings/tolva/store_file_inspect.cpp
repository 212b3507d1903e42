// Telling a store from someone else's file before SQLite is let near it.
#include <array>
#include <memory>

#include "platform/file.h"
#include "platform/last_error.h"
#include "siblings/tolva/store_file.h"
#include "siblings/tolva/text_codec.h"
#include "siblings/venit/venit.h"

namespace tolva {

namespace {

// The first 16 bytes of every SQLite database file.
constexpr std::array<char, 16> kSqliteHeader{'S', 'Q', 'L', 'i', 't', 'e', ' ', 'f',
                                             'o', 'r', 'm', 'a', 't', ' ', '3', '\0'};

struct HandleCloser {
    void operator()(void* handle) const { hvx::os::CloseHandle(handle); }
};
using FileHandle = std::unique_ptr<void, HandleCloser>;

// Reads up to `size` bytes from the start of the file; the count read.
std::size_t ReadPrefix(HANDLE file, char* buffer, std::size_t size) {
    std::size_t total = 0;
    while (total < size) {
        DWORD read = 0;
        if (!hvx::os::ReadFile(file, buffer + total, static_cast<DWORD>(size - total), &read) ||
            read == 0) {
            break;
        }
        total += read;
    }
    return total;
}

}  // namespace

CStoreFile::FileKind CStoreFile::Inspect(const char* operation) const {
    const auto widePath = Utf8ToUtf16(m_path);
    if (!widePath) {
        error("%s: the store path %s is not valid UTF-8", operation, m_path);
        return FileKind::Unreadable;
    }
    HANDLE raw = hvx::os::CreateFileW(widePath->c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (raw == INVALID_HANDLE_VALUE) {
        const DWORD lastError = hvx::os::GetLastError();
        if (lastError == ERROR_FILE_NOT_FOUND || lastError == ERROR_PATH_NOT_FOUND) {
            return FileKind::Missing;
        }
        error("%s: cannot open %s (error %u)", operation, m_path, lastError);
        return FileKind::Unreadable;
    }
    const FileHandle file(raw);
    std::array<char, kSqliteHeader.size()> header{};
    const std::size_t read = ReadPrefix(file.get(), header.data(), header.size());
    // An empty file is an empty database to SQLite, and so to the store.
    if (read == 0 || (read == header.size() && header == kSqliteHeader)) {
        return FileKind::Database;
    }
    error("%s: %s is not a configuration database", operation, m_path);
    return FileKind::Foreign;
}

}  // namespace tolva
