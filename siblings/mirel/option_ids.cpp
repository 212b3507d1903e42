// The option ids and callback signatures of interfaces/ITransferEngine.h are libcurl's own: the
// session passes them through SetOption and SetCallback unchanged, so a mismatch would set the
// wrong option. Checked here, where libcurl's headers are in reach.
#include <curl/curl.h>

#include <type_traits>

#include "interfaces/ITransferEngine.h"

namespace hvx::mirel {

static_assert(curlopt::kPort == CURLOPT_PORT);
static_assert(curlopt::kTimeout == CURLOPT_TIMEOUT);
static_assert(curlopt::kVerbose == CURLOPT_VERBOSE);
static_assert(curlopt::kNoProgress == CURLOPT_NOPROGRESS);
static_assert(curlopt::kConnectTimeout == CURLOPT_CONNECTTIMEOUT);
static_assert(curlopt::kHttpAuth == CURLOPT_HTTPAUTH);
static_assert(curlopt::kWriteData == CURLOPT_WRITEDATA);
static_assert(curlopt::kUserPwd == CURLOPT_USERPWD);
static_assert(curlopt::kUserAgent == CURLOPT_USERAGENT);
static_assert(curlopt::kHeaderData == CURLOPT_HEADERDATA);
static_assert(curlopt::kProgressData == CURLOPT_PROGRESSDATA);
static_assert(curlopt::kWriteFunction == CURLOPT_WRITEFUNCTION);
static_assert(curlopt::kHeaderFunction == CURLOPT_HEADERFUNCTION);
static_assert(curlopt::kDebugFunction == CURLOPT_DEBUGFUNCTION);
static_assert(curlopt::kSslCtxFunction == CURLOPT_SSL_CTX_FUNCTION);
// The session's progress callback takes the double-valued form, which libcurl marks deprecated;
// its id is 56 in the function range.
static_assert(curlopt::kProgressFunction == CURLOPTTYPE_FUNCTIONPOINT + 56);

static_assert(std::is_same_v<WriteCallback, curl_write_callback>);
static_assert(std::is_same_v<ProgressCallback, curl_progress_callback>);

}  // namespace hvx::mirel
