// One released easy handle kept per thread for the thread's next instance.
//
// A management operation builds a fresh instance, runs one small transfer and releases it; making
// and cleaning up a libcurl handle each time costs about as much as the transfer's own work in the
// engine. A kept handle is reset to libcurl's defaults when it is released, so it holds nothing of
// the instance that used it: no option, callback, header list or pointer into its buffers. What
// libcurl keeps across a reset (cookies, HSTS and alt-svc caches) is the caller's to avoid: an
// instance that turned one of them on is cleaned up, never kept (CurlEngine decides).
//
// A kept handle is in no multi handle and belongs to the process's share; it is cleaned up when
// its thread ends (before the share, on the thread that exits the process). At most one handle
// per thread is kept, so a thread holds at most one idle handle beyond the instances it uses.
#pragma once

#include "siblings/mirel/curl_handles.h"

namespace hvx::mirel {

// The calling thread's kept handle, at libcurl's defaults, or a new one; null when libcurl cannot
// make one.
EasyPtr TakeThreadEasy();

// Resets `easy` and keeps it for the calling thread's next TakeThreadEasy; when the thread keeps
// one already, `easy` is cleaned up. Null is ignored.
void KeepThreadEasy(EasyPtr easy) noexcept;

}  // namespace hvx::mirel
