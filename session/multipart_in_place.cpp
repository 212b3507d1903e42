// hvx::CHttpCurl::PrepareMultipartBody: the multipart body of a POST, laid in the room around the
// content of its largest section when that section kept room enough before its content (the upload
// client leaves it for a file), so the file's bytes go out from where they were read; otherwise
// built in a buffer of its own by BuildMultipartBody. The bytes are the same either way.
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "session/http_curl.h"
#include "session/multipart_head.h"
#include "session/request_buffers.h"

namespace hvx {

namespace {

using multipart::kLineEnd;
using multipart::Put;

// The heads of the sections, the section the body is laid around, where its content starts in the
// body, and the body's length.
struct Layout {
    std::vector<std::string> heads;
    std::size_t host = MultipartBody::kNoHost;
    std::size_t hostStart = 0;
    std::size_t total = 0;
};

// The largest section whose room before its content holds all that the body has before it.
void ChooseHost(const std::vector<MultipartSection>& sections, Layout& layout) {
    std::size_t offset = 0;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const SectionBytes& data = sections[i].data;
        const std::size_t start = offset + layout.heads[i].size();
        const bool larger = layout.host == MultipartBody::kNoHost ||
                            data.size() > sections[layout.host].data.size();
        if (data.FrontRoom() >= start && larger) {
            layout.host = i;
            layout.hostStart = start;
        }
        offset = start + data.size() + kLineEnd.size();
    }
    layout.total = offset;
}

// Sections [first, last) whole, each its head, its content and CR LF, from `out` on.
char* PutSections(char* out, const std::vector<MultipartSection>& sections,
                  const std::vector<std::string>& heads, std::size_t first, std::size_t last) {
    for (std::size_t i = first; i < last; ++i) {
        out = Put(out, heads[i]);
        out = Put(out, std::string_view(sections[i].data.data(), sections[i].data.size()));
        out = Put(out, kLineEnd);
    }
    return out;
}

}  // namespace

HRESULT CHttpCurl::PrepareMultipartBody(MultipartBody& body) {
    if (m_pICurl == nullptr) {
        return HVX_E_INVALID_ARGUMENT;
    }
    if (m_sections.empty()) {
        return S_OK;
    }
    if (m_boundary.empty()) {
        GenerateBoundary(m_boundary);
    }
    Layout layout;
    layout.heads.resize(m_sections.size());
    for (std::size_t i = 0; i < m_sections.size(); ++i) {
        if (const HRESULT hr =
                multipart::BuildSectionHead(m_sections[i], m_boundary, layout.heads[i]);
            FAILED(hr)) {
            return hr;
        }
    }
    const std::string closing = multipart::ClosingLine(m_boundary);
    ChooseHost(m_sections, layout);
    layout.total += closing.size();
    if (layout.host == MultipartBody::kNoHost) {
        char* buffer = nullptr;
        std::uint32_t length = 0;
        const HRESULT hr = BuildMultipartBody(&buffer, &length);
        body.owned.reset(buffer);
        body.bytes = buffer;
        body.length = length;
        return hr;
    }
    // Lengths are 32-bit: a body that would reach 4 GiB cannot be sent.
    SectionBytes& host = m_sections[layout.host].data;
    const std::size_t room = host.BackRoom();
    if (layout.total > std::numeric_limits<std::uint32_t>::max() ||
        !host.Reserve(host.FrontRoom(), layout.total - layout.hostStart - host.size())) {
        return HVX_E_MULTIPART_ALLOC;
    }
    char* start = host.data() - layout.hostStart;
    Put(PutSections(start, m_sections, layout.heads, 0, layout.host), layout.heads[layout.host]);
    char* out = Put(host.Spare(), kLineEnd);
    out = PutSections(out, m_sections, layout.heads, layout.host + 1, m_sections.size());
    Put(out, closing);
    body.bytes = start;
    body.length = static_cast<std::uint32_t>(layout.total);
    body.host = layout.host;
    body.hostRoom = room;
    return S_OK;
}

void CHttpCurl::ReleaseMultipartBody(MultipartBody& body) {
    if (body.host < m_sections.size()) {
        m_sections[body.host].data.TrimBackRoom(body.hostRoom);
    }
    body = MultipartBody{};
}

std::size_t CHttpCurl::MultipartContentOffset(const MultipartSection& next) const {
    // Only the boundary's length counts, and it is the same before the boundary is drawn.
    const std::string boundary =
        m_boundary.empty() ? std::string(multipart::kBoundaryLength, '-') : m_boundary;
    std::string head;
    std::size_t offset = 0;
    for (const MultipartSection& section : m_sections) {
        if (FAILED(multipart::BuildSectionHead(section, boundary, head))) {
            return 0;
        }
        offset += head.size() + section.data.size() + kLineEnd.size();
    }
    if (FAILED(multipart::BuildSectionHead(next, boundary, head))) {
        return 0;
    }
    return offset + head.size();
}

}  // namespace hvx
