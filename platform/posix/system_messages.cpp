// One text for each Win32 error number that the platform layer reports, in words a user of the
// agent understands.
#include "platform/posix/system_messages.h"

#include <algorithm>
#include <array>

#include "platform/format_message.h"
#include "platform/resources.h"

namespace hvx::os::detail {

namespace {

struct SystemMessage {
    DWORD error;
    std::u16string_view text;
};

constexpr std::array kSystemMessages = std::to_array<SystemMessage>({
    {ERROR_SUCCESS, u"The operation succeeded.\r\n"},
    {ERROR_FILE_NOT_FOUND, u"The file does not exist.\r\n"},
    {ERROR_PATH_NOT_FOUND, u"A folder named in the path does not exist.\r\n"},
    {ERROR_TOO_MANY_OPEN_FILES, u"The process has too many files open.\r\n"},
    {ERROR_ACCESS_DENIED, u"Access was denied.\r\n"},
    {ERROR_INVALID_HANDLE, u"The handle is not valid.\r\n"},
    {ERROR_NOT_ENOUGH_MEMORY, u"There is not enough memory to carry out the operation.\r\n"},
    {ERROR_OUTOFMEMORY, u"The system ran out of memory.\r\n"},
    {ERROR_NOT_SAME_DEVICE, u"The file cannot be moved to another volume.\r\n"},
    {ERROR_WRITE_FAULT, u"Writing to the device failed.\r\n"},
    {ERROR_READ_FAULT, u"Reading from the device failed.\r\n"},
    {ERROR_SHARING_VIOLATION, u"Another process holds the file open.\r\n"},
    {ERROR_LOCK_VIOLATION, u"Another process has locked a part of the file.\r\n"},
    {ERROR_HANDLE_EOF, u"The end of the file was reached.\r\n"},
    {ERROR_HANDLE_DISK_FULL, u"The disk is full.\r\n"},
    {ERROR_NOT_SUPPORTED, u"The operation is not supported.\r\n"},
    {ERROR_FILE_EXISTS, u"The file exists already.\r\n"},
    {ERROR_INVALID_PARAMETER, u"A parameter is not valid.\r\n"},
    {ERROR_BROKEN_PIPE, u"The other end of the pipe was closed.\r\n"},
    {ERROR_BUFFER_OVERFLOW, u"The name is longer than the system allows.\r\n"},
    {ERROR_DISK_FULL, u"There is no space left on the disk.\r\n"},
    {ERROR_INSUFFICIENT_BUFFER, u"The buffer is too small for the data.\r\n"},
    {ERROR_INVALID_NAME, u"The name of the file or folder has a form that is not allowed.\r\n"},
    {ERROR_MOD_NOT_FOUND, u"The module was not found.\r\n"},
    {ERROR_PROC_NOT_FOUND, u"The module does not export the function asked for.\r\n"},
    {ERROR_DIR_NOT_EMPTY, u"The folder is not empty.\r\n"},
    {ERROR_BAD_PATHNAME, u"The path is not valid.\r\n"},
    {ERROR_ALREADY_EXISTS, u"The item exists already.\r\n"},
    {ERROR_FILENAME_EXCED_RANGE, u"The file name or its extension is too long.\r\n"},
    {ERROR_BAD_FILE_TYPE, u"The path names a pipe, socket or device, not a file.\r\n"},
    {ERROR_MORE_DATA, u"More data is waiting to be read.\r\n"},
    {ERROR_DIRECTORY, u"The name is not the name of a folder.\r\n"},
    {ERROR_MR_MID_NOT_FOUND, u"No text exists for this message number.\r\n"},
    {ERROR_DIRECTORY_NOT_SUPPORTED, u"The path names a folder, not a file.\r\n"},
    {ERROR_INVALID_FLAGS, u"The flags are not valid.\r\n"},
    {ERROR_NO_UNICODE_TRANSLATION, u"The text holds a character that cannot be converted.\r\n"},
    {ERROR_NOT_FOUND, u"The element was not found.\r\n"},
    {ERROR_RESOURCE_DATA_NOT_FOUND, u"The module carries no resources.\r\n"},
    {ERROR_RESOURCE_TYPE_NOT_FOUND, u"The module has no resource of the type asked for.\r\n"},
    {ERROR_RESOURCE_NAME_NOT_FOUND, u"The module has no resource of the name asked for.\r\n"},
    {ERROR_RESOURCE_LANG_NOT_FOUND, u"The module has no resource in the language asked for.\r\n"},
    {ERROR_CANT_ACCESS_FILE, u"The path names a link, which is not followed.\r\n"},
});

}  // namespace

std::u16string_view SystemMessageText(DWORD error) {
    const auto* const found =
        std::find_if(kSystemMessages.begin(), kSystemMessages.end(),
                     [error](const SystemMessage& m) { return m.error == error; });
    return found != kSystemMessages.end() ? found->text : std::u16string_view();
}

}  // namespace hvx::os::detail
