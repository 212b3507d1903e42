#include "tools/backend/upload_receiver.h"

namespace hvx::backend {
namespace {

// Parts without filename up to this size are recorded with their text.
constexpr std::size_t kTextLimit = 1024;

// The last component of a name the client chose, never a path of its own.
std::string SafeName(const std::string& filename) {
    const std::string last = std::filesystem::path(filename).filename().string();
    return last.empty() || last == "." || last == ".." ? std::string("unnamed") : last;
}

}  // namespace

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
        const auto path =
            *m_folder / (std::to_string(m_upload) + "-" + std::to_string(m_parts.size() + 1) + "-" +
                         SafeName(part.filename));
        m_file.open(path, std::ios::binary | std::ios::trunc);
        record["stored"] = path.string();
    }
    m_current = std::move(record);
    m_size = 0;
    m_text.clear();
    return !m_current->isMember("stored") || m_file.is_open();
}

bool UploadReceiver::Take(const char* data, std::size_t size) {
    m_bytes += size;
    if (m_bytes > m_limit) {
        m_overLimit = true;
        return false;
    }
    if (!m_current) {
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
    (*m_current)["size"] = Json::UInt64{m_size};
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
