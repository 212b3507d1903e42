#include "tools/backend/management_answer.h"

#include <charconv>
#include <cstdint>

namespace hvx::backend {
namespace {

constexpr int kLowestStatus = 200;
constexpr int kHighestStatus = 599;
constexpr std::uint64_t kLongestDelayMs = 600000;
constexpr std::string_view kSlow = "+slow:";

template <typename Number>
std::optional<Number> WholeNumber(std::string_view text) {
    Number value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> Status(std::string_view text) {
    const auto status = WholeNumber<int>(text);
    if (!status || *status < kLowestStatus || *status > kHighestStatus) {
        return std::nullopt;
    }
    return status;
}

// "error:N:RESULT[:DETAIL]" without its "error:".
bool ParseError(std::string_view rest, ManagementAnswer& answer) {
    const auto colon = rest.find(':');
    const auto status = Status(rest.substr(0, colon));
    if (!status || colon == std::string_view::npos) {
        return false;
    }
    answer.kind = ManagementAnswer::Kind::Error;
    answer.status = *status;
    const std::string_view tail = rest.substr(colon + 1);
    const auto detail = tail.find(':');
    answer.result = std::string(tail.substr(0, detail));
    if (detail != std::string_view::npos) {
        answer.detail = std::string(tail.substr(detail + 1));
    }
    return !answer.result.empty();
}

bool ParseKind(std::string_view text, ManagementAnswer& answer) {
    if (text == "ok") {
        return true;
    }
    if (text == "space" || text == "empty") {
        answer.kind = ManagementAnswer::Kind::Body;
        answer.body = text == "space" ? " " : "";
        return true;
    }
    if (text.starts_with("guid:")) {
        answer.kind = ManagementAnswer::Kind::Body;
        answer.body = std::string(text.substr(5));
        return true;
    }
    if (text.starts_with("status:")) {
        const auto status = Status(text.substr(7));
        answer.kind = ManagementAnswer::Kind::Status;
        answer.status = status.value_or(0);
        return status.has_value();
    }
    return text.starts_with("error:") && ParseError(text.substr(6), answer);
}

}  // namespace

std::optional<ManagementAnswer> ParseManagementAnswer(std::string_view text, std::string& problem) {
    ManagementAnswer answer;
    answer.text = std::string(text);
    const auto slow = text.rfind(kSlow);
    if (slow != std::string_view::npos) {
        const auto delay = WholeNumber<std::uint64_t>(text.substr(slow + kSlow.size()));
        if (!delay || *delay > kLongestDelayMs) {
            problem = "slow needs milliseconds from 0 to 600000: " + std::string(text);
            return std::nullopt;
        }
        answer.delay = std::chrono::milliseconds(*delay);
        text = text.substr(0, slow);
    }
    if (!ParseKind(text, answer)) {
        problem =
            "not an answer (ok, guid:G, space, empty, status:N, error:N:RESULT[:DETAIL], "
            "each with an optional +slow:MS): " +
            answer.text;
        return std::nullopt;
    }
    return answer;
}

}  // namespace hvx::backend
