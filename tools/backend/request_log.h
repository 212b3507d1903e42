// The --verbose request log: one line per answered request on stderr,
//   "<listener> <method> <path> <status> <bytes>"   e.g. "https GET /files/a.bin 200 1048576"
// where <bytes> is the body length announced to the client.
#pragma once

#include <httplib.h>

#include <string>

namespace hvx::backend {

// A logger for the server of the listener named `listener` ("http" or "https").
httplib::Logger MakeRequestLog(std::string listener);

}  // namespace hvx::backend
