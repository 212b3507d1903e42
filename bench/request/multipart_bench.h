// Building a multipart body beside one memcpy of the same bytes.
#pragma once

#include <cstddef>

namespace hvx::bench {

struct MultipartFigures {
    std::size_t bodyBytes = 0;
    // Medians: BuildMultipartBody and the release of its buffer; malloc, memcpy and free of the
    // file's bytes.
    double buildSeconds = 0;
    double memcpySeconds = 0;
    // The most memory the sections and the body held together, over the resident memory before
    // the sections were made.
    std::size_t peakBytes = 0;
    bool ok = false;
};

// A body of four small identity parts and one file part of `fileBytes`; `runs` timings each.
// Run it first in the process, so that the peak is not held up by earlier work.
MultipartFigures MeasureMultipart(std::size_t fileBytes, int runs);

}  // namespace hvx::bench
