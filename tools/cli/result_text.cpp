#include "tools/cli/result_text.h"

#include <cstdint>
#include <iomanip>
#include <memory>
#include <sstream>
#include <type_traits>

#include "platform/format_message.h"
#include "platform/module.h"
#include "platform/resources.h"
#include "tools/cli/wide_text.h"

namespace hvx::cli {

namespace {

constexpr const char16_t* kMessageModule = u"rosta.dll";
constexpr DWORD kModuleFlags =
    FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS;
constexpr DWORD kSystemFlags =
    FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
constexpr std::uint32_t kFacilityMask = 0xFFFF0000u;
constexpr std::uint32_t kWin32Facility = 0x80070000u;
constexpr std::uint32_t kCodeMask = 0x0000FFFFu;

struct ModuleFree {
    void operator()(HMODULE module) const { static_cast<void>(os::FreeLibrary(module)); }
};
using ModulePtr = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFree>;

// The text FormatMessageW gives, without its line end.
std::string Format(DWORD flags, HMODULE module, DWORD id) {
    char16_t* raw = nullptr;
    const DWORD length = os::FormatMessageW(flags, module, id, os::kLanguageEnglishUs, &raw);
    const os::LocalText text(raw);
    if (length == 0) {
        return {};
    }
    std::string message = Narrow(std::u16string(text.get(), length));
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
        message.pop_back();
    }
    return message;
}

}  // namespace

std::string ResultHex(HRESULT code) {
    constexpr int kDigits = 8;
    std::ostringstream text;
    text << "0x" << std::hex << std::uppercase << std::setw(kDigits) << std::setfill('0')
         << static_cast<std::uint32_t>(code);
    return text.str();
}

std::string ResultMessage(HRESULT code) {
    const auto bits = static_cast<std::uint32_t>(code);
    const ModulePtr module(os::LoadLibraryW(kMessageModule));
    if (module) {
        std::string message = Format(kModuleFlags, module.get(), bits);
        if (!message.empty()) {
            return message;
        }
    }
    if (code == S_OK || (bits & kFacilityMask) == kWin32Facility) {
        return SystemMessage(bits & kCodeMask);
    }
    return {};
}

std::string SystemMessage(DWORD error) {
    return Format(kSystemFlags, nullptr, error);
}

}  // namespace hvx::cli
