// Reading a large response body into the caller's memory through MakeRequest (buffer form),
// beside its bound: the curl command line writing the same body to /dev/null, plus one memcpy
// of the body.
#pragma once

#include <cstddef>
#include <string>

namespace hvx::bench {

struct ResponseFigures {
    std::size_t bodyBytes = 0;
    // Medians: a fresh session's Init and MakeRequest into a fresh buffer; the curl program from
    // start to exit; malloc, memcpy and free of the body.
    double requestSeconds = 0;
    double curlSeconds = 0;
    double memcpySeconds = 0;
    // The most memory one request held above the resident memory before it.
    std::size_t peakBytes = 0;
    bool ok = false;
};

// `runs` timings of each, against one plain HTTP test server on 127.0.0.1.
ResponseFigures MeasureResponse(std::size_t bodyBytes, int runs, const std::string& curlProgram);

}  // namespace hvx::bench
