#include <string>

#include "interfaces/hvx_types.h"
#include "platform/format_message.h"
#include "platform/last_error.h"
#include "platform/resources.h"
#include "siblings/rosta/rosta.h"
#include "siblings/venit/util.h"
#include "siblings/venit/venit.h"
#include "support/messages.h"
#include "support/module_handle.h"

namespace hvx {

namespace {

constexpr const char16_t* kMessageModule = u"rosta.dll";
constexpr DWORD kMessageFlags =
    FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS;

bool NamesProduct(HRESULT code) {
    return code == HVX_E_PRODUCT_MESSAGE_1 || code == HVX_E_PRODUCT_MESSAGE_2;
}

// The message is a format with one wide placeholder for the product name.
[[nodiscard]] HRESULT InsertProductName(const char16_t* format, std::u16string& message) {
    std::u16string name;
    if (FAILED(LoadString(GetResourceDllName(), IDS_HALVEX_PROTECT, name))) {
        error(
            "hvx::GetHvxHrMsg: hvx::LoadString ( GetResourceDllName(), IDS_HALVEX_PROTECT ) "
            "failed");
        return E_FAIL;
    }
    if (name.empty()) {
        error(
            "hvx::GetHvxHrMsg: hvx::LoadString ( GetResourceDllName(), IDS_HALVEX_PROTECT ) "
            "returned empty string");
        return E_FAIL;
    }
    char16_t* raw = nullptr;
    static_cast<void>(Util::aswprintf(&raw, format, name));
    const Util::UniqueMem<char16_t> formatted(raw);
    if (!formatted) {
        error("hvx::GetHvxHrMsg: Util::aswprintf() returned NULL string");
        return E_FAIL;
    }
    message = formatted.get();
    return S_OK;
}

// The output for a code without a message names the code and why the lookup failed.
[[nodiscard]] HRESULT ReportMissingMessage(HRESULT code, std::u16string& message) {
    const DWORD lookupError = os::GetLastError();
    std::u16string systemText;
    static_cast<void>(GetSystemErrorText(lookupError, systemText));
    message = venit::Format(u". Could not create error string for 0x%8x. [%s].",
                            venit::MakeArgs(static_cast<DWORD>(code), systemText));
    error("hvx::GetHvxHrMsg: FormatMessage() failed %u fetching string for %u", os::GetLastError(),
          static_cast<DWORD>(code));
    return E_FAIL;
}

}  // namespace

HRESULT GetHvxHrMsg(HRESULT code, std::u16string& message) {
    const ModuleHandle module(os::LoadLibraryW(kMessageModule));
    if (!module) {
        error("hvx::GetHvxHrMsg: LoadLibrary failed %u", os::GetLastError());
        return E_FAIL;
    }
    char16_t* raw = nullptr;
    const DWORD length = os::FormatMessageW(kMessageFlags, module.get(), static_cast<DWORD>(code),
                                            os::kLanguageEnglishUs, &raw);
    const os::LocalText text(raw);
    if (length == 0) {
        return ReportMissingMessage(code, message);
    }
    if (NamesProduct(code)) {
        return InsertProductName(text.get(), message);
    }
    message = text.get();
    return S_OK;
}

}  // namespace hvx
