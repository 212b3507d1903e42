#include "tools/backend/query_number.h"

#include <charconv>

namespace hvx::backend {

std::optional<std::uint64_t> QueryNumber(const httplib::Request& request, const std::string& name,
                                         std::uint64_t fallback, std::uint64_t max) {
    if (!request.has_param(name)) {
        return fallback;
    }
    const std::string text = request.get_param_value(name);
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end || value > max) {
        return std::nullopt;
    }
    return value;
}

}  // namespace hvx::backend
