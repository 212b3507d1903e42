// FormatMessageW: a built-in module, or one that exports a resource table, is read from it, with
// the buffer from LocalAlloc like the system's own; everything else is the system's FormatMessageW.
#include "platform/format_message.h"

#include <string>

#include "platform/common/builtin_modules.h"
#include "platform/common/exported_resources.h"
#include "platform/common/module_messages.h"

namespace hvx::os {

namespace {

DWORD SystemFormatMessage(DWORD flags, HMODULE module, DWORD messageId, DWORD languageId,
                          char16_t** buffer) {
    return ::FormatMessageW(flags, module, messageId, languageId, reinterpret_cast<LPWSTR>(buffer),
                            0, nullptr);
}

DWORD HandOver(const std::u16string& text, char16_t** buffer) {
    auto* copy =
        static_cast<char16_t*>(::LocalAlloc(LMEM_FIXED, (text.size() + 1) * sizeof(char16_t)));
    if (copy == nullptr) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    text.copy(copy, text.size());
    copy[text.size()] = u'\0';
    *buffer = copy;
    return static_cast<DWORD>(text.size());
}

}  // namespace

DWORD FormatMessageW(DWORD flags, HMODULE module, DWORD messageId, DWORD languageId,
                     char16_t** buffer) {
    if (buffer == nullptr || !detail::IsSupportedMessageFlags(flags)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    *buffer = nullptr;
    // A built-in module's handle means nothing to the system, so it is never passed on.
    const bool fromTable =
        (flags & FORMAT_MESSAGE_FROM_HMODULE) != 0 &&
        (detail::IsBuiltinModule(module) || detail::ExportedResourceTable(module) != nullptr);
    if (!fromTable) {
        return SystemFormatMessage(flags, module, messageId, languageId, buffer);
    }
    std::u16string text;
    const DWORD error = detail::FindModuleMessage(module, messageId, languageId, text);
    if (error == ERROR_SUCCESS) {
        return HandOver(text, buffer);
    }
    if ((flags & FORMAT_MESSAGE_FROM_SYSTEM) != 0) {
        return SystemFormatMessage(flags & ~FORMAT_MESSAGE_FROM_HMODULE, nullptr, messageId,
                                   languageId, buffer);
    }
    ::SetLastError(error);
    return 0;
}

void* LocalFree(void* memory) {
    return ::LocalFree(memory);
}

}  // namespace hvx::os
