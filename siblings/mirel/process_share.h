// Process-wide libcurl state: the one global initialisation, and the share through which every
// instance of the process uses one DNS cache and one TLS session cache.
//
// Connections are not in the share: libcurl does not support sharing a connection cache between
// concurrent threads, so each thread keeps its own (thread_multi.h).
#pragma once

#include <curl/curl.h>

namespace hvx::mirel {

// curl_global_init, once per process; later calls give the first call's result.
[[nodiscard]] CURLcode EnsureCurlGlobal();

// The process's share of DNS entries and TLS sessions, with one lock per kind of data; null
// when it could not be made. Call EnsureCurlGlobal first.
CURLSH* ProcessShare();

}  // namespace hvx::mirel
