// The --ready-file: written once every listener is up, removed at stop. A JSON object:
//
//   {"http": "http://127.0.0.1:41234", "https": "https://127.0.0.1:41235",
//    "ca": "DIR/ca.pem", "trust": "DIR/trust.json", "pid": 1234}
//
// "https", "ca" and "trust" appear only with a TLS folder.
#pragma once

#include <sys/types.h>

#include <string>

#include "tools/backend/backend.h"

namespace hvx::backend {

std::string ReadyJson(const Backend& backend, pid_t pid);

}  // namespace hvx::backend
