// Folding the results of a list of libcurl calls that all run, in order.
#pragma once

#include <curl/curl.h>

#include <initializer_list>

namespace hvx::mirel {

// The first result that is not CURLE_OK, else CURLE_OK. The calls in a braced list run left to
// right, each whatever the others gave.
inline CURLcode FirstFailure(std::initializer_list<CURLcode> results) {
    for (const CURLcode result : results) {
        if (result != CURLE_OK) {
            return result;
        }
    }
    return CURLE_OK;
}

}  // namespace hvx::mirel
