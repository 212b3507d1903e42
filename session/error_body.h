// The JSON error body of a 4xx or 5xx answer: {"result": <code>, "detail": "<text>"}.
#pragma once

#include <string>
#include <string_view>

#include "platform/base_types.h"

namespace hvx::session {

// Reads the server's code and its error text from `text`.
//   0: `code` is "result" as an unsigned 32-bit number (0 when absent) and `detail` is "detail"
//     (empty when absent or not text); an empty detail is replaced by the message of the code,
//     else by the message of HVX_E_GENERAL.
//   HVX_E_ERROR_BODY_NOT_JSON: the text is not JSON, or its top-level value is not an object.
//   HVX_E_ERROR_BODY_EXCEPTION: "result" is not an unsigned 32-bit number (negative, text, ...).
//   On both failures `code` is 0 and `detail` empty.
[[nodiscard]] HRESULT ParseErrorJson(std::string_view text, HRESULT& code, std::u16string& detail);

}  // namespace hvx::session
