// The upload, inventory and update clients of the library, each owned so that it goes back to
// its release export.
#pragma once

#include <memory>
#include <string>

#include "tools/cli/caspo_library.h"

namespace hvx::cli {

using UploadPtr = std::unique_ptr<IHttpUpload, decltype(&ReleaseIHTTPUpload)>;
using InventoryPtr =
    std::unique_ptr<IProductInventoryHttp, decltype(&ReleaseIProductInventoryHttp)>;
using UpdatePtr = std::unique_ptr<IUpdateHttp, decltype(&ReleaseIUpdateHttp)>;

inline UploadPtr NewUpload(const CaspoLibrary& library) {
    return library.NewObject<IHttpUpload, decltype(&GetIHttpUpload), decltype(&ReleaseIHTTPUpload)>(
        "GetIHttpUpload", "ReleaseIHTTPUpload");
}

inline InventoryPtr NewInventory(const CaspoLibrary& library) {
    return library.NewObject<IProductInventoryHttp, decltype(&GetIProductInventoryHttp),
                             decltype(&ReleaseIProductInventoryHttp)>(
        "GetIProductInventoryHttp", "ReleaseIProductInventoryHttp");
}

inline UpdatePtr NewUpdate(const CaspoLibrary& library) {
    return library.NewObject<IUpdateHttp, decltype(&GetIUpdateHttp), decltype(&ReleaseIUpdateHttp)>(
        "GetIUpdateHttp", "ReleaseIUpdateHttp");
}

// A BSTR the library handed out, as UTF-8, freed with SysFreeString (the library's export on
// POSIX, oleaut32's on Windows).
std::string TakeText(const CaspoLibrary& library, BSTR text);

}  // namespace hvx::cli
