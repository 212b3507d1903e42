// Whole numbers read from a request's query parameters.
#pragma once

#include <httplib.h>

#include <cstdint>
#include <optional>
#include <string>

namespace hvx::backend {

// The decimal value of the parameter `name`, `fallback` when it is absent; nothing when it is
// not a decimal number from 0 to `max`.
std::optional<std::uint64_t> QueryNumber(const httplib::Request& request, const std::string& name,
                                         std::uint64_t fallback, std::uint64_t max);

}  // namespace hvx::backend
