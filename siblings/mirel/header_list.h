// The header lines of an instance, handed to libcurl as CURLOPT_HTTPHEADER.
#pragma once

#include <curl/curl.h>

#include <string>

#include "siblings/mirel/curl_handles.h"

namespace hvx::mirel {

// Makes the line to send from a caller's UTF-16 header line: UTF-8, without trailing CR or LF.
// Gives null and fills `line`, or the reason the line is refused (null or invalid text, CR or LF
// inside the line), so that no value can smuggle another header in.
[[nodiscard]] const char* ToHeaderLine(const char16_t* text, std::string& line);

class HeaderList {
public:
    // Starts over with no caller's lines. The list always holds an empty "Expect:", which keeps
    // libcurl from adding "Expect: 100-continue" and waiting before it sends a request body.
    [[nodiscard]] CURLcode Reset();
    // Appends a line made by ToHeaderLine; it goes out after libcurl's own headers, in order.
    [[nodiscard]] CURLcode Append(const std::string& line);

    curl_slist* Get() const { return m_list.get(); }

private:
    SlistPtr m_list;
};

}  // namespace hvx::mirel
