#include "tools/backend/upload_receiver.h"

#include <array>
#include <cstdio>

namespace hvx::backend {
namespace {

// Parts without filename up to this size are recorded with their text.
constexpr std::size_t kTextLimit = 1024;

std::string Hex(const unsigned char* bytes, unsigned size) {
    std::string text;
    std::array<char, 3> digit{};
    for (unsigned i = 0; i < size; ++i) {
        std::snprintf(digit.data(), digit.size(), "%02x", bytes[i]);
        text += digit.data();
    }
    return text;
}

// The last component of a name the client chose, never a path of its own.
std::string SafeName(const std::string& filename) {
    const std::string last = std::filesystem::path(filename).filename().string();
    return last.empty() || last == "." || last == ".." ? std::string("unnamed") : last;
}

}  // namespace

UploadReceiver::UploadReceiver(std::optional<std::filesystem::path> folder, unsigned upload,
                               std::uint64_t limit)
    : m_folder(std::move(folder)), m_upload(upload), m_limit(limit), m_digest(EVP_MD_CTX_new()) {}

UploadReceiver::~UploadReceiver() {
    EVP_MD_CTX_free(m_digest);
}

bool UploadReceiver::Begin(const httplib::MultipartFormData& part) {
    EndPart();
    Json::Value record(Json::objectValue);
    record["name"] = part.name;
    if (!part.filename.empty()) {
        record["filename"] = part.filename;
    }
    if (!part.content_type.empty()) {
        record["content_type"] = part.content_type;
    }
    if (m_folder && !part.filename.empty()) {
        const auto path = *m_folder / (std::to_string(m_upload) + "-" +
                                       std::to_string(m_parts.size() + 1) + "-" +
                                       SafeName(part.filename));
        m_file.open(path, std::ios::binary | std::ios::trunc);
        record["stored"] = path.string();
    }
    m_current = std::move(record);
    m_size = 0;
    m_text.clear();
    return m_digest != nullptr && EVP_DigestInit_ex(m_digest, EVP_sha256(), nullptr) == 1 &&
           (!m_current->isMember("stored") || m_file.is_open());
}

bool UploadReceiver::Take(const char* data, std::size_t size) {
    m_bytes += size;
    if (m_bytes > m_limit) {
        m_overLimit = true;
        return false;
    }
    if (!m_current || EVP_DigestUpdate(m_digest, data, size) != 1) {
        return false;
    }
    m_size += size;
    if (!m_current->isMember("filename") && m_text.size() + size <= kTextLimit) {
        m_text.append(data, size);
    }
    if (m_file.is_open()) {
        m_file.write(data, static_cast<std::streamsize>(size));
    }
    return !m_file.is_open() || m_file.good();
}

void UploadReceiver::EndPart() {
    if (!m_current) {
        return;
    }
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned length = 0;
    EVP_DigestFinal_ex(m_digest, digest.data(), &length);
    (*m_current)["size"] = Json::UInt64{m_size};
    (*m_current)["sha256"] = Hex(digest.data(), length);
    if (!m_current->isMember("filename") && m_size <= kTextLimit) {
        (*m_current)["text"] = m_text;
    }
    if (m_file.is_open()) {
        m_file.close();
    }
    m_parts.append(*m_current);
    m_current.reset();
}

Json::Value UploadReceiver::Finish() {
    EndPart();
    return m_parts;
}

}  // namespace hvx::backend
