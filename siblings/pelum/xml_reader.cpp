#include "siblings/pelum/xml_reader.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <string>

#include "platform/text.h"

namespace hvx::pelum {

namespace {

// As a fragment, text outside the document element is kept in the tree (and so refused) rather
// than dropped; the document rules then ask for exactly one element.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_doctype | pugi::parse_fragment;

bool IsUtf8(const char* text, std::size_t size) {
    return size == 0 || os::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text,
                                                static_cast<int>(size), nullptr, 0) > 0;
}

// A UTF-16 copy from malloc; null when memory runs out. The document was checked to be UTF-8.
char16_t* WideCopy(const char* utf8) {
    const std::size_t size = std::strlen(utf8);
    const int units =
        size == 0 ? 0
                  : os::MultiByteToWideChar(CP_UTF8, 0, utf8, static_cast<int>(size), nullptr, 0);
    auto* copy = static_cast<char16_t*>(
        std::malloc((static_cast<std::size_t>(units) + 1) * sizeof(char16_t)));  // NOLINT
    if (copy == nullptr) {
        return nullptr;
    }
    if (units > 0) {
        os::MultiByteToWideChar(CP_UTF8, 0, utf8, static_cast<int>(size), copy, units);
    }
    copy[units] = u'\0';
    return copy;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

int CXmlReader::ParseDocument(const char* document) {
    m_parsed = false;
    m_document.reset();
    if (document == nullptr) {
        return 0;
    }
    const std::size_t size = ::strnlen(document, kMaxDocumentBytes + 1);
    if (size > kMaxDocumentBytes || !IsUtf8(document, size)) {
        return 0;
    }
    const pugi::xml_parse_result parsed =
        m_document.load_buffer(document, size, kParseOptions, pugi::encoding_utf8);
    m_parsed = parsed.status == pugi::status_ok && IsAcceptable(m_document);
    if (!m_parsed) {
        m_document.reset();
    }
    return m_parsed ? 1 : 0;
}

std::vector<pugi::xml_node> CXmlReader::Find(const char* path) const {
    std::vector<pugi::xml_node> found;
    if (!m_parsed || path == nullptr) {
        return found;
    }
    found.push_back(m_document);
    std::string_view rest(path);
    while (!found.empty() && !rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string name(rest.substr(0, slash));
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        std::vector<pugi::xml_node> next;
        for (const pugi::xml_node node : found) {
            for (const pugi::xml_node child : node.children(name.c_str())) {
                next.push_back(child);
            }
        }
        found = std::move(next);
    }
    return found;
}

char16_t* CXmlReader::GetValue(const char* path) {
    const std::vector<pugi::xml_node> found = Find(path);
    return found.empty() ? nullptr : WideCopy(found.front().child_value());
}

char16_t** CXmlReader::GetValueList(const char* path) {
    const std::vector<pugi::xml_node> found = Find(path);
    if (found.empty()) {
        return nullptr;
    }
    auto* list =
        static_cast<char16_t**>(std::calloc(found.size() + 1, sizeof(char16_t*)));  // NOLINT
    if (list == nullptr) {
        return nullptr;
    }
    for (std::size_t i = 0; i < found.size(); ++i) {
        list[i] = WideCopy(found[i].child_value());
        if (list[i] == nullptr) {
            FreeValueList(list);
            return nullptr;
        }
    }
    return list;
}

std::uint32_t CXmlReader::GetIntValue(const char* path) {
    const std::vector<pugi::xml_node> found = Find(path);
    if (found.empty()) {
        return 0;
    }
    std::string_view text(found.front().child_value());
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    std::uint32_t value = 0;
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), value);
    return problem == std::errc{} && end == text.data() + text.size() ? value : 0;
}

void CXmlReader::FreeValue(char16_t* value) {
    std::free(value);  // NOLINT(cppcoreguidelines-no-malloc)
}

void CXmlReader::FreeValueList(char16_t** values) {
    if (values == nullptr) {
        return;
    }
    for (char16_t** value = values; *value != nullptr; ++value) {
        std::free(*value);  // NOLINT(cppcoreguidelines-no-malloc)
    }
    std::free(values);  // NOLINT(cppcoreguidelines-no-malloc)
}

}  // namespace hvx::pelum
