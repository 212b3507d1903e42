// hvx::CHttpUpload::ReadContents: a file's content, from the handle's position to its end.
#include <array>
#include <cstdint>
#include <new>
#include <stdexcept>
#include <vector>

#include "clients/upload/http_upload.h"
#include "platform/file.h"
#include "platform/file_position.h"
#include "platform/large_buffer.h"

namespace hvx {

namespace {

constexpr DWORD kReadBlock = 8192;

}  // namespace

HRESULT CHttpUpload::ReadContents(HANDLE file, std::vector<char>& contents) {
    if (file == nullptr || file == INVALID_HANDLE_VALUE) {
        return HVX_E_INVALID_ARGUMENT;
    }
    try {
        // Sized once when the file can tell how much is left, so the content is held once.
        const std::uint64_t expected = contents.size() + os::RemainingBytes(file);
        if (expected >= kMaxUploadContent) {
            return HVX_E_INVALID_ARGUMENT;
        }
        contents.reserve(static_cast<std::size_t>(expected));
        os::PrefaultBuffer(contents.data() + contents.size(),
                           contents.capacity() - contents.size());
        std::array<char, kReadBlock> block{};
        DWORD count = 0;
        while (os::ReadFile(file, block.data(), kReadBlock, &count) != FALSE && count > 0) {
            if (contents.size() + count >= kMaxUploadContent) {
                return HVX_E_INVALID_ARGUMENT;
            }
            contents.insert(contents.end(), block.data(), block.data() + count);
        }
    } catch (const std::bad_alloc&) {
        return HVX_E_INVALID_ARGUMENT;
    } catch (const std::length_error&) {
        return HVX_E_INVALID_ARGUMENT;
    }
    return S_OK;
}

}  // namespace hvx
