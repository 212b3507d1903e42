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
// - Every transfer is bounded by the instance's TransferLimits (SetTransferLimits; an instance
//   starts with kDefaultTransferLimits and returns to them on Setup):
//   - a transfer whose caller set no CURLOPT_TIMEOUT (or CURLOPT_TIMEOUT_MS) ends after the
//     ceiling time (CURLE_OPERATION_TIMEDOUT);
//   - the stall rule: a transfer that moves fewer than the stall rate's bytes per second on
//     average over any stall time ends (CURLE_OPERATION_TIMEDOUT, "Operation too slow. ...");
//   - a buffered body keeps at most keepBytes; past them the transfer fails
//     (CURLE_FILESIZE_EXCEEDED) or the body is only counted, up to countBytes, where the transfer
//     ends as complete; a 4xx or 5xx body ends the transfer, as complete, once errorBodyBytes of
//     it have arrived, kept or handed to the caller's write callback.
//   The buffered body is held in blocks of at most 1 MiB, each released once read.
// - Options the engine manages itself (URL, method, body, header list, error buffer, share,
//   redirects, CA file and path) are refused with CURLE_BAD_FUNCTION_ARGUMENT; every other
//   option goes to libcurl unchanged, its value taken by libcurl's option type.
// - Without a caller's CURLOPT_WRITEFUNCTION the response body is buffered and stays readable
//   through ReadBody until the next transfer; with one, the body goes to it and ReadBody gives 0.
//   GetUnreadBodyLength tells how many bytes ReadBody has still to give, GetReceivedBodyLength
//   how many the body had, kept or not.
// - The caller's progress callback (either form) is called from the engine's own, which runs the
//   stall rule; it is called only while the caller has CURLOPT_NOPROGRESS at 0, as in libcurl.
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

extern "C" {
// A new engine instance, or null when libcurl cannot be initialised. Released with
// ReleaseNCPClassInstance.
MIREL_API hvx::ITransferEngine* CreateNCPClassInstance();
// Releases an instance from CreateNCPClassInstance; null is ignored.
MIREL_API void ReleaseNCPClassInstance(hvx::ITransferEngine* engine);
}
