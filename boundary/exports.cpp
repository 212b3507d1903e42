// The factory and release exports of libcaspo (interfaces/caspo.h). Objects come from the
// library's own allocator and go back to it; an allocation failure is not turned into null.
#include "interfaces/caspo.h"

#include "boundary/external_http.h"
#include "boundary/file_downloader.h"
#include "clients/inventory/product_inventory_http.h"
#include "clients/management/ostra_http.h"
#include "clients/update/update_http.h"
#include "clients/upload/http_upload.h"
#include "session/http_curl.h"

extern "C" {

CASPO_API hvx::IHttp* GetIHttp() {
    return new hvx::CExternalHttp();
}

CASPO_API void ReleaseIHTTP(hvx::IHttp* http) {
    // Only GetIHttp's facades come here; the facade's destructor frees its session.
    delete static_cast<hvx::CExternalHttp*>(http);
}

CASPO_API hvx::IHttpSession* GetHttpC() {
    return new hvx::CHttpCurl();
}

CASPO_API void ReleaseHttpC(hvx::IHttpSession* session) {
    // A session is destroyed through its own type: its destructor is not virtual.
    delete static_cast<hvx::CHttpCurl*>(session);
}

CASPO_API hvx::IFileDownloader* CreateFileDownloaderInstance() {
    return new hvx::FileDownloader();
}

CASPO_API void ReleaseFileDownloaderInstance(hvx::IFileDownloader* downloader) {
    delete downloader;
}

CASPO_API hvx::IOstraHttp* GetIOstraHttp() {
    return new hvx::COstraHttp();
}

CASPO_API void ReleaseIOstraHTTP(hvx::IOstraHttp* ostra) {
    delete ostra;
}

CASPO_API hvx::IWAIHttp* GetIWAIHttp() {
    return nullptr;
}

CASPO_API void ReleaseIWAIHttp(hvx::IWAIHttp* /*http*/) {}

CASPO_API hvx::IHttpUpload* GetIHttpUpload() {
    return new hvx::CHttpUpload();
}

CASPO_API void ReleaseIHTTPUpload(hvx::IHttpUpload* upload) {
    // No virtual destructor: the client is destroyed through its own type, with its session.
    delete static_cast<hvx::CHttpUpload*>(upload);
}

CASPO_API hvx::IProductInventoryHttp* GetIProductInventoryHttp() {
    return new hvx::CProductInventoryHttp();
}

CASPO_API void ReleaseIProductInventoryHttp(hvx::IProductInventoryHttp* inventory) {
    delete inventory;
}

CASPO_API hvx::IUpdateHttp* GetIUpdateHttp() {
    return new hvx::CUpdateHttp();
}

CASPO_API void ReleaseIUpdateHttp(hvx::IUpdateHttp* update) {
    // No virtual destructor: the client is destroyed through its own type.
    delete static_cast<hvx::CUpdateHttp*>(update);
}

}  // extern "C"
