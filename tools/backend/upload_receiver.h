// The parts of one multipart upload as they arrive: each one counted, stored in a file when it
// has a filename and there is a folder, and kept as text when it is small and has none.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include <httplib.h>
#include <json/json.h>

namespace hvx::backend {

class UploadReceiver {
public:
    UploadReceiver(std::optional<std::filesystem::path> folder, unsigned upload,
                   std::uint64_t limit)
        : m_folder(std::move(folder)), m_upload(upload), m_limit(limit) {}

    // cpp-httplib's multipart callbacks: a part begins; bytes of the current part.
    bool Begin(const httplib::MultipartFormData& part);
    bool Take(const char* data, std::size_t size);
    // Ends the last part; the parts as JSON.
    Json::Value Finish();
    bool OverLimit() const { return m_overLimit; }
    std::uint64_t Bytes() const { return m_bytes; }

private:
    void EndPart();

    std::optional<std::filesystem::path> m_folder;
    unsigned m_upload;
    std::uint64_t m_limit;
    std::uint64_t m_bytes = 0;
    bool m_overLimit = false;
    Json::Value m_parts{Json::arrayValue};
    std::optional<Json::Value> m_current;
    std::uint64_t m_size = 0;
    std::string m_text;
    std::ofstream m_file;
};

}  // namespace hvx::backend
