// hvx::CHttpUpload::ReadContents: a file's content, from the handle's position to its end.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "clients/upload/http_upload.h"
#include "platform/file.h"
#include "platform/file_position.h"
#include "platform/large_buffer.h"

namespace hvx {

namespace {

constexpr DWORD kReadBlock = 8192;

// Room for the next block after the content: sized once from what the file says is left (one
// block more, so the read that finds the end needs no growth either), doubled when a pipe or a
// growing file brings more.
[[nodiscard]] bool RoomForBlock(SectionBytes& contents, std::uint64_t remaining) {
    if (contents.BackRoom() >= kReadBlock) {
        return true;
    }
    const std::uint64_t more = remaining > 0 ? remaining + kReadBlock
                                             : std::max<std::uint64_t>(kReadBlock, contents.size());
    if (more > std::numeric_limits<std::size_t>::max() ||
        !contents.Reserve(contents.FrontRoom(), static_cast<std::size_t>(more))) {
        return false;
    }
    // Every byte of the room is written by the reads: its pages are asked for at once.
    os::PrefaultBuffer(contents.Spare(), contents.BackRoom());
    return true;
}

}  // namespace

HRESULT CHttpUpload::ReadContents(HANDLE file, SectionBytes& contents) {
    if (file == nullptr || file == INVALID_HANDLE_VALUE) {
        return HVX_E_INVALID_ARGUMENT;
    }
    // The content is read straight into its place, sized once when the file can tell how much
    // is left, so it is held once and never moved.
    const std::uint64_t remaining = os::RemainingBytes(file);
    if (contents.size() + remaining >= kMaxUploadContent) {
        return HVX_E_INVALID_ARGUMENT;
    }
    if (!RoomForBlock(contents, remaining)) {
        return HVX_E_INVALID_ARGUMENT;
    }
    DWORD count = 0;
    while (os::ReadFile(file, contents.Spare(), kReadBlock, &count) != FALSE && count > 0) {
        if (contents.size() + count >= kMaxUploadContent) {
            return HVX_E_INVALID_ARGUMENT;
        }
        contents.Extend(count);
        if (!RoomForBlock(contents, 0)) {
            return HVX_E_INVALID_ARGUMENT;
        }
    }
    return S_OK;
}

}  // namespace hvx
