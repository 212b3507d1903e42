// One part of a multipart/form-data body.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "session/section_bytes.h"

namespace hvx {

using TextPair = std::pair<std::u16string, std::u16string>;

struct MultipartSection {
    // The part's header lines, in the order added.
    std::vector<TextPair> headers;
    // Written onto the first header line only, as `; name="value"`.
    std::vector<TextPair> parameters;
    // The part's content, sent unchanged.
    SectionBytes data;
};

}  // namespace hvx
