#include "support/host_identity.h"

#include <algorithm>

#include "platform/last_error.h"
#include "siblings/venit/util.h"
#include "siblings/venit/venit.h"

namespace hvx {

namespace {

// What the output holds when no name could be had.
constexpr const char16_t* kUnknownName = u"UNKNOWN";

// The characters the name needs, terminator included, from the size query; 0 when the call
// failed for another reason than the missing buffer (logged).
DWORD QueryNameSize(ComputerNameCall call, COMPUTER_NAME_FORMAT format) {
    DWORD size = 0;
    if (call(format, nullptr, &size) != FALSE) {
        error(
            "hvx::GetComputerNameExW: Suspicious: GetComputerNameEx() returned TRUE with NULL "
            "buffer");
    } else if (os::GetLastError() != ERROR_MORE_DATA) {
        error("hvx::GetComputerNameExW: GetComputerNameEx ( %u ) last error not ERROR_MORE_DATA",
              format);
        return 0;
    }
    if (size == 0) {
        error("hvx::GetComputerNameExW: Invalid buffer size for GetComputerNameEx( %u )", format);
    }
    return size;
}

}  // namespace

BOOL GetComputerNameExWith(ComputerNameCall call, COMPUTER_NAME_FORMAT format,
                           std::u16string& name) {
    name = kUnknownName;
    DWORD size = QueryNameSize(call, format);
    if (size == 0) {
        return FALSE;
    }
    std::size_t bytes = 0;
    if (!Util::SafeMul(size, sizeof(char16_t), bytes)) {
        error("hvx::GetComputerNameExW: Multiplication overflow");
        return FALSE;
    }
    const Util::UniqueMem<char16_t> buffer(static_cast<char16_t*>(Util::SafeCalloc(bytes, 1)));
    if (!buffer) {
        error("hvx::GetComputerNameExW: Couldn't allocate memory for tszFqName");
        return FALSE;
    }
    const DWORD capacity = size;
    if (call(format, buffer.get(), &size) == FALSE) {
        error("hvx::GetComputerNameExW: GetComputerNameEx(%u, ...) failed", format);
        return FALSE;
    }
    const char16_t* begin = buffer.get();
    name.assign(begin, std::find(begin, begin + capacity, u'\0'));
    return TRUE;
}

BOOL GetComputerNameExW(COMPUTER_NAME_FORMAT format, std::u16string& name) {
    return GetComputerNameExWith(&os::GetComputerNameExW, format, name);
}

BOOL GetNetBIOSName(std::u16string& name) {
    const BOOL found = GetComputerNameExW(ComputerNamePhysicalNetBIOS, name);
    if (found == FALSE) {
        error("hvx::GetNetBIOSName: Failed to get NetBIOS name");
    }
    return found;
}

}  // namespace hvx
