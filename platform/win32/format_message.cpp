// FormatMessageW: a built-in module, or one that exports a resource table, is read from it, with
// the buffer from LocalAlloc like the system's own; everything else is the system's FormatMessageW.
#include "platform/format_message.h"

#include <cstddef>
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

// The buffer of the text found, from LocalAlloc like the system's own.
void* Allocate(std::size_t bytes) {
    return ::LocalAlloc(LMEM_FIXED, bytes);
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
        return detail::HandOverMessage(text, &Allocate, buffer);
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
