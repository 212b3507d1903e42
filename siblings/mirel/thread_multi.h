// Runs transfers on the calling thread's own multi handle.
//
// An easy handle added to a multi handle uses that multi handle's connection cache, which outlives
// the easy handle. One multi handle per thread (created on first use, cleaned up when the thread
// ends) therefore lets a fresh instance reuse the connections of the instances that ran before it
// on the same thread, without ever sharing a connection between threads.
#pragma once

#include <curl/curl.h>

namespace hvx::mirel {

// Performs the transfer that `easy` is set up for and returns its result. The handle is attached
// to the thread's multi handle only for the duration of the call.
[[nodiscard]] CURLcode RunOnThreadMulti(CURL* easy);

}  // namespace hvx::mirel
