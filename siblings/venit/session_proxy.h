// Applying proxy settings to a transfer-engine instance.
#pragma once

#include "interfaces/IProxyReader.h"
#include "interfaces/ITransferEngine.h"
#include "platform/base_types.h"
#include "siblings/venit/venit_export.h"

namespace Util {

// Sets the engine's proxy options from the record (libcurl's CURLOPT_PROXY, CURLOPT_PROXYPORT
// when the port is not 0, CURLOPT_PROXYTYPE, CURLOPT_PROXYUSERNAME and CURLOPT_PROXYPASSWORD
// when a user is given ("domain\user" with a domain), CURLOPT_PROXYAUTH when methods are given,
// CURLOPT_HTTPPROXYTUNNEL when the tunnel is 0 or 1, CURLOPT_NOPROXY when hosts bypass the
// proxy), stopping at the first the engine refuses. Results: S_OK; E_INVALIDARG for a null
// engine or a record without a host (nothing set); E_FAIL when the engine refuses an option
// (logged with the option and the engine's result; options set before it stay set).
VENIT_API HRESULT SetCurlSessionProxySettings(hvx::ITransferEngine* engine,
                                              const hvx::ProxySettings& settings);

}  // namespace Util
