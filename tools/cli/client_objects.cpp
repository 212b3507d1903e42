#include "tools/cli/client_objects.h"

#include "tools/cli/wide_text.h"

namespace hvx::cli {

std::string TakeText(const CaspoLibrary& library, BSTR text) {
    if (text == nullptr) {
        return {};
    }
    std::string narrow = Narrow(text);
    if (const auto release = library.Export<decltype(&SysFreeString)>("SysFreeString")) {
        release(text);
    }
    return narrow;
}

}  // namespace hvx::cli
