// Bytes written to the process's standard error as it is at the moment of writing: file
// descriptor 2 on POSIX, the STD_ERROR_HANDLE on Windows (which the C runtime's freopen and _dup2
// of descriptor 2 also set), written as they are, with no line-end translation. A process without
// a standard error writes nothing. A writer that kept the stream it found at its start would miss
// a later redirection.
#pragma once

#include <string_view>

namespace hvx::os {

void WriteStandardError(std::string_view bytes);

}  // namespace hvx::os
