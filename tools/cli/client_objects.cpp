#include "tools/cli/client_objects.h"

#include "platform/bstr.h"
#include "tools/cli/wide_text.h"

namespace hvx::cli {

std::string TakeText(const CaspoLibrary& library, BSTR text) {
    if (text == nullptr) {
        return {};
    }
    std::string narrow = Narrow(os::BstrText(text));
    // libcaspo exports SysFreeString on POSIX; on Windows it is the system's (oleaut32).
    if (const auto release = library.Export<decltype(&SysFreeString)>("SysFreeString")) {
        release(text);
    } else {
        os::SysFreeString(text);
    }
    return narrow;
}

}  // namespace hvx::cli
