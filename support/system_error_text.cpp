#include <string>

#include "platform/format_message.h"
#include "platform/last_error.h"
#include "platform/resources.h"
#include "siblings/venit/venit.h"
#include "support/messages.h"

namespace hvx {

namespace {

constexpr DWORD kSystemMessageFlags =
    FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;

}  // namespace

HRESULT GetSystemErrorText(DWORD error, std::u16string& text) {
    char16_t* raw = nullptr;
    const DWORD length =
        os::FormatMessageW(kSystemMessageFlags, nullptr, error, os::kLanguageUserDefault, &raw);
    const os::LocalText message(raw);
    if (length == 0) {
        text = venit::Format(u"Error %u. FormatMessage failed, error: %u",
                             venit::MakeArgs(error, os::GetLastError()));
        return E_NOTIMPL;
    }
    text = venit::Format(u"%s(%u)", venit::MakeArgs(message.get(), error));
    return S_OK;
}

}  // namespace hvx
