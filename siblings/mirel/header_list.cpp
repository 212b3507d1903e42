#include "siblings/mirel/header_list.h"

#include <optional>
#include <string_view>

#include "siblings/mirel/utf8.h"

namespace hvx::mirel {
namespace {

constexpr const char* kNoExpectLine = "Expect:";
constexpr std::string_view kLineBreaks = "\r\n";

}  // namespace

const char* ToHeaderLine(const char16_t* text, std::string& line) {
    if (text == nullptr) {
        return "header line is null";
    }
    std::optional<std::string> utf8 = ToUtf8(text);
    if (!utf8) {
        return "header line is not valid UTF-16";
    }
    while (!utf8->empty() && kLineBreaks.find(utf8->back()) != std::string_view::npos) {
        utf8->pop_back();
    }
    if (utf8->find_first_of(kLineBreaks) != std::string::npos) {
        return "header line contains CR or LF";
    }
    line = std::move(*utf8);
    return nullptr;
}

CURLcode HeaderList::Reset() {
    m_list.reset();
    return Append(kNoExpectLine);
}

CURLcode HeaderList::Append(const std::string& line) {
    // curl_slist_append gives a new list head on success and leaves the list as it was on failure.
    curl_slist* appended = curl_slist_append(m_list.get(), line.c_str());
    if (appended == nullptr) {
        return CURLE_OUT_OF_MEMORY;
    }
    static_cast<void>(m_list.release());
    m_list.reset(appended);
    return CURLE_OK;
}

}  // namespace hvx::mirel
