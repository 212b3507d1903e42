// The in-memory response body of an instance: filled by libcurl's write callback during a
// transfer, read in parts afterwards through a cursor.
#pragma once

#include <curl/curl.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace hvx::mirel {

class ResponseBody {
public:
    // Empties the body (its memory too) before a transfer on `easy`.
    void Reset(CURL* easy);

    // libcurl's CURLOPT_WRITEFUNCTION; `user` is the ResponseBody. The first call reserves the
    // whole body when the server announced its length, so a large body is not copied by repeated
    // growth.
    static std::size_t Write(char* data, std::size_t size, std::size_t count, void* user) noexcept;

    // Copies the next part of the body, at most `capacity` bytes; 0 at the end.
    std::uint32_t Read(char* buffer, std::uint32_t capacity);
    // The bytes that Read has still to copy.
    std::size_t Unread() const { return m_bytes.size() - m_cursor; }

private:
    void ReserveAnnouncedLength();

    std::string m_bytes;
    std::size_t m_cursor = 0;
    CURL* m_easy = nullptr;
    bool m_reserved = false;
};

}  // namespace hvx::mirel
