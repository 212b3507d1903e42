#include "platform/computer_name.h"

namespace hvx::os {

BOOL GetComputerNameExW(COMPUTER_NAME_FORMAT format, char16_t* buffer, DWORD* size) {
    return ::GetComputerNameExW(format, reinterpret_cast<LPWSTR>(buffer), size);
}

}  // namespace hvx::os
