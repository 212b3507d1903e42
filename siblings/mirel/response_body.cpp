#include "siblings/mirel/response_body.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace hvx::mirel {
namespace {

// An announced length is trusted for the reservation only up to this size; a larger body still
// arrives whole, growing as it comes.
constexpr curl_off_t kMaxReservedBytes = curl_off_t{256} * 1024 * 1024;

}  // namespace

void ResponseBody::Reset(CURL* easy) {
    std::string().swap(m_bytes);
    m_cursor = 0;
    m_easy = easy;
    m_reserved = false;
}

std::size_t ResponseBody::Write(char* data, std::size_t size, std::size_t count,
                                void* user) noexcept {
    auto* body = static_cast<ResponseBody*>(user);
    const std::size_t bytes = size * count;
    try {
        body->ReserveAnnouncedLength();
        body->m_bytes.append(data, bytes);
    } catch (const std::bad_alloc&) {
        return 0;  // libcurl ends the transfer with CURLE_WRITE_ERROR
    }
    return bytes;
}

std::uint32_t ResponseBody::Read(char* buffer, std::uint32_t capacity) {
    const std::size_t count = std::min<std::size_t>(capacity, m_bytes.size() - m_cursor);
    if (count > 0) {
        std::memcpy(buffer, m_bytes.data() + m_cursor, count);
        m_cursor += count;
    }
    return static_cast<std::uint32_t>(count);
}

void ResponseBody::ReserveAnnouncedLength() {
    if (m_reserved) {
        return;
    }
    m_reserved = true;
    curl_off_t announced = -1;
    if (curl_easy_getinfo(m_easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced) == CURLE_OK &&
        announced > 0 && announced <= kMaxReservedBytes) {
        m_bytes.reserve(static_cast<std::size_t>(announced));
    }
}

}  // namespace hvx::mirel
