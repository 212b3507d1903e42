#include "siblings/venit/log_environment.h"

#include <charconv>
#include <cstdlib>

#include "platform/file.h"
#include "siblings/venit/text_convert.h"

namespace venit::detail {
namespace {

constexpr const char* kDebugLevelVariable = "VENIT_DEBUG_LEVEL";
constexpr const char* kLogFileVariable = "VENIT_LOG_FILE";
constexpr const char* kStderrVariable = "VENIT_LOG_STDERR";
constexpr std::string_view kStderrOn = "1";
// Below the user's data folder.
constexpr std::string_view kDefaultLogFile = "/caspo/log/caspo.log";

std::uint64_t ParseUnsigned(std::string_view digits, int base) {
    std::uint64_t value = 0;
    const auto* end = digits.data() + digits.size();
    const auto result = std::from_chars(digits.data(), end, value, base);
    if (digits.empty() || result.ec != std::errc{} || result.ptr != end) {
        return 0;
    }
    return value;
}

}  // namespace

std::uint64_t ParseDebugLevel(std::string_view text) {
    if (text.starts_with("0x") || text.starts_with("0X")) {
        return ParseUnsigned(text.substr(2), 16);
    }
    if (text.starts_with('-')) {
        return 0 - ParseUnsigned(text.substr(1), 10);
    }
    return ParseUnsigned(text, 10);
}

std::uint64_t DebugLevelFromEnvironment() {
    const char* value = std::getenv(kDebugLevelVariable);
    return value != nullptr ? ParseDebugLevel(value) : 0;
}

std::string LogFileFromEnvironment() {
    if (const char* value = std::getenv(kLogFileVariable)) {
        return value;
    }
    const std::u16string folder = hvx::os::GetUserDataDirectory();
    if (folder.empty()) {
        return {};
    }
    return Utf16ToUtf8(folder) + std::string(kDefaultLogFile);
}

bool StderrFromEnvironment() {
    const char* value = std::getenv(kStderrVariable);
    return value != nullptr && value == kStderrOn;
}

}  // namespace venit::detail
