// FormatMessageW on the modules' exported tables and the library's own system texts; the
// buffer comes from malloc, so LocalFree is free.
#include "platform/format_message.h"

#include <cstddef>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/common/module_messages.h"
#include "platform/last_error.h"
#include "platform/posix/system_messages.h"
#include "platform/resources.h"

namespace hvx::os {

namespace {

constexpr DWORD kPrimaryLanguageEnglish = 0x09;

// The system's texts are English: a neutral request or any English one finds them.
DWORD FindSystemMessage(DWORD id, DWORD language, std::u16string& text) {
    const DWORD primary = language & kPrimaryLanguageMask;
    if (primary != 0 && primary != kPrimaryLanguageEnglish) {
        return ERROR_RESOURCE_LANG_NOT_FOUND;
    }
    const std::u16string_view found = detail::SystemMessageText(id);
    if (found.empty()) {
        return ERROR_MR_MID_NOT_FOUND;
    }
    text = found;
    return ERROR_SUCCESS;
}

// The buffer of the text found: malloc's, which LocalFree releases.
void* Allocate(std::size_t bytes) {
    return std::malloc(bytes);
}

}  // namespace

DWORD FormatMessageW(DWORD flags, HMODULE module, DWORD messageId, DWORD languageId,
                     char16_t** buffer) {
    if (buffer == nullptr || !detail::IsSupportedMessageFlags(flags)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    *buffer = nullptr;
    std::u16string text;
    DWORD error = ERROR_MR_MID_NOT_FOUND;
    if ((flags & FORMAT_MESSAGE_FROM_HMODULE) != 0) {
        error = detail::FindModuleMessage(module, messageId, languageId, text);
    }
    if (error != ERROR_SUCCESS && (flags & FORMAT_MESSAGE_FROM_SYSTEM) != 0) {
        error = FindSystemMessage(messageId, languageId, text);
    }
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return 0;
    }
    return detail::HandOverMessage(text, &Allocate, buffer);
}

void* LocalFree(void* memory) {
    std::free(memory);  // NOLINT(cppcoreguidelines-no-malloc)
    return nullptr;
}

}  // namespace hvx::os
