// Where modules are looked for first: the folder of the module that holds this code.
#pragma once

#include <string>

namespace hvx::os::detail {

// The folder with a trailing '/', in the bytes the file calls take; empty when unknown.
const std::string& NativeModuleDirectory();

}  // namespace hvx::os::detail
