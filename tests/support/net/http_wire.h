// The HTTP/1.1 wire format as the test server reads and writes it.
#pragma once

#include <string>

#include "tests/support/net/http_exchange.h"
#include "tests/support/net/socket_stream.h"

namespace hvx::test {

// Reads the next request of a connection into `request`. `pending` holds bytes read past the
// previous request. False at the end of the stream or for a request that cannot be parsed.
bool ReadRequest(SocketStream& stream, std::string& pending, RecordedRequest& request);

// The status line and headers of an answer, up to and including the empty line.
std::string ResponseHead(const ScriptedResponse& response);

// Whether the request asks to close the connection after the answer.
bool ClientCloses(const RecordedRequest& request);

}  // namespace hvx::test
