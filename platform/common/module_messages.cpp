#include "platform/common/module_messages.h"

#include "platform/common/exported_resources.h"
#include "platform/common/message_table.h"
#include "platform/last_error.h"
#include "platform/resources.h"

namespace hvx::os::detail {

namespace {

constexpr DWORD kRequiredFlags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS;
constexpr DWORD kSourceFlags = FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM;

}  // namespace

bool IsSupportedMessageFlags(DWORD flags) {
    return (flags & kRequiredFlags) == kRequiredFlags && (flags & kSourceFlags) != 0 &&
           (flags & ~(kRequiredFlags | kSourceFlags)) == 0;
}

DWORD FindModuleMessage(HMODULE module, DWORD id, DWORD language, std::u16string& text) {
    const ResourceTable* table = ExportedResourceTable(module);
    ResourceData data;
    if (table == nullptr ||
        !FindTableResource(*table, kResourceTypeMessageTable, kMessageTableId, language, data)) {
        return os::GetLastError();
    }
    return FindMessageText(data, id, text);
}

DWORD HandOverMessage(const std::u16string& text, void* (*allocate)(std::size_t),
                      char16_t** buffer) {
    auto* copy = static_cast<char16_t*>(allocate((text.size() + 1) * sizeof(char16_t)));
    if (copy == nullptr) {
        os::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    text.copy(copy, text.size());
    copy[text.size()] = u'\0';
    *buffer = copy;
    return static_cast<DWORD>(text.size());
}

}  // namespace hvx::os::detail
