// HTTP status numbers and classes that the session and its clients test for.
#pragma once

#include <cstdint>

namespace hvx::http {

inline constexpr std::uint32_t kOk = 200;
inline constexpr std::uint32_t kNotModified = 304;
inline constexpr std::uint32_t kUseProxy = 305;
inline constexpr std::uint32_t kNotFound = 404;
inline constexpr std::uint32_t kNotAcceptable = 406;

// 200 to 299.
constexpr bool IsSuccess(std::uint32_t status) {
    return status >= 200 && status <= 299;
}
// 400 to 599: an answer that may carry a JSON error body.
constexpr bool IsError(std::uint32_t status) {
    return status >= 400 && status <= 599;
}

}  // namespace hvx::http
