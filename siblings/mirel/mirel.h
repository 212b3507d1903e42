// mirel: the transfer engine on libcurl (libmirel.so, mirel.dll), loaded by name at run time.
//
// An instance (hvx::ITransferEngine, interfaces/ITransferEngine.h) owns one libcurl easy handle, a
// header list and an in-memory response body. Its results are CURLcode values, so 0 is success.
// What callers may rely on:
// - No CA file or CA path is set: trust is exactly what the caller's CURLOPT_SSL_CTX_FUNCTION
//   installs. Without it, a transfer with peer verification on fails its handshake.
// - CURLOPT_PORT is the port used when the URL names none; a port written in the URL wins.
// - Redirects are not followed: a 3xx reaches the caller as a 3xx.
// - Header lines are UTF-16 and go out as UTF-8; trailing CR/LF are dropped, and a line with CR
//   or LF inside is refused (CURLE_BAD_FUNCTION_ARGUMENT, nothing appended). libcurl's own rules
//   apply to the rest: "Name:" with nothing after the colon removes a header libcurl would add.
// - No "Expect: 100-continue" wait before a request body.
// - A transfer that moves no byte for the stall time is aborted (CURLE_OPERATION_TIMEDOUT).
// - Options the engine manages itself (URL, method, body, header list, error buffer, share,
//   redirects, CA file and path) are refused with CURLE_BAD_FUNCTION_ARGUMENT; every other
//   option goes to libcurl unchanged, its value taken by libcurl's option type.
// - Without a caller's CURLOPT_WRITEFUNCTION the response body is buffered and stays readable
//   through ReadBody until the next transfer; with one, the body goes to it and ReadBody gives 0.
//   GetUnreadBodyLength tells how many bytes ReadBody has still to give.
// - Instances share DNS and TLS sessions process-wide, and connections per thread, so a fresh
//   instance per operation still reuses connections and resumes TLS sessions.
#pragma once

#include "interfaces/ITransferEngine.h"
#include "platform/base_types.h"

#if defined(MIREL_BUILDING)
#define MIREL_API HVX_DLL_EXPORT
#else
#define MIREL_API HVX_DLL_IMPORT
#endif

// The environment variable that sets the stall time in seconds (a positive whole number),
// unless MirelSetStallTimeout has set it.
inline constexpr const char* kMirelStallVariable = "MIREL_STALL_SECONDS";

extern "C" {
// A new engine instance, or null when libcurl cannot be initialised. Released with
// ReleaseNCPClassInstance.
MIREL_API hvx::ITransferEngine* CreateNCPClassInstance();
// Releases an instance from CreateNCPClassInstance; null is ignored.
MIREL_API void ReleaseNCPClassInstance(hvx::ITransferEngine* engine);
// Sets the stall time of every later transfer in the process, in seconds; 0 returns to the
// default (MIREL_STALL_SECONDS, else 300). CURLE_OK, or CURLE_BAD_FUNCTION_ARGUMENT when
// negative.
MIREL_API int MirelSetStallTimeout(long seconds);
}
