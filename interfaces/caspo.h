// caspo: the one header a caller of the library includes. It declares the library's exports
// (plain C names, in pairs: a factory and the release function for what it made), the BSTR
// helpers, and the interfaces the factories hand out.
//
// The module is "caspo.dll" (libcaspo.so on POSIX). A caller that loads it at run time finds an
// export by its name and casts the address to the export's own type:
//     auto get = reinterpret_cast<decltype(&GetIHttp)>(GetProcAddress(module, "GetIHttp"));
//
// Ownership: a caller owns each object from its factory until it hands it to the matching
// release function, and never deletes it itself. Each release function accepts only objects of
// its own factory, and does nothing when given null. BSTR texts the library hands out belong to
// the caller, who frees them with SysFreeString.
//
// Objects are used by one thread at a time; all work runs on the calling thread.
#pragma once

#include <type_traits>

#include "interfaces/IConfig.h"
#include "interfaces/IFileDownloader.h"
#include "interfaces/IHttp.h"
#include "interfaces/IHttpUpload.h"
#include "interfaces/IOstraHttp.h"
#include "interfaces/IProductInventoryHttp.h"
#include "interfaces/IUpdateHttp.h"
#include "interfaces/hvx_types.h"
#include "platform/base_types.h"

#if defined(CASPO_BUILDING)
#define CASPO_API HVX_DLL_EXPORT
#else
#define CASPO_API HVX_DLL_IMPORT
#endif

namespace hvx {

// Exported as a name only: no implementation exists.
class IWAIHttp;

// The character of a BSTR: char16_t here, the system's OLECHAR on Windows.
using BstrChar = std::remove_pointer_t<BSTR>;

// The module name callers load.
inline constexpr const char16_t* kCaspoModule = u"caspo.dll";

}  // namespace hvx

extern "C" {

// The generic request interface: a facade that owns one session (constructed, not initialised).
CASPO_API hvx::IHttp* GetIHttp();
CASPO_API void ReleaseIHTTP(hvx::IHttp* http);

// A bare session (constructed, not initialised): IHttp and AddRequestHeader.
CASPO_API hvx::IHttpSession* GetHttpC();
CASPO_API void ReleaseHttpC(hvx::IHttpSession* session);

// A one-call file downloader.
CASPO_API hvx::IFileDownloader* CreateFileDownloaderInstance();
CASPO_API void ReleaseFileDownloaderInstance(hvx::IFileDownloader* downloader);

// Always null; the release function accepts anything and does nothing.
CASPO_API hvx::IWAIHttp* GetIWAIHttp();
CASPO_API void ReleaseIWAIHttp(hvx::IWAIHttp* http);

// The management backend: registration, identity synchronisation, events, policy. The client
// is constructed, not initialised: Init it first.
CASPO_API hvx::IOstraHttp* GetIOstraHttp();
CASPO_API void ReleaseIOstraHTTP(hvx::IOstraHttp* ostra);
// Multipart file upload (interfaces/IHttpUpload.h).
CASPO_API hvx::IHttpUpload* GetIHttpUpload();
CASPO_API void ReleaseIHTTPUpload(hvx::IHttpUpload* upload);
// Product and update inventory reports (interfaces/IProductInventoryHttp.h).
CASPO_API hvx::IProductInventoryHttp* GetIProductInventoryHttp();
CASPO_API void ReleaseIProductInventoryHttp(hvx::IProductInventoryHttp* inventory);
// The update check and installer download (interfaces/IUpdateHttp.h).
CASPO_API hvx::IUpdateHttp* GetIUpdateHttp();
CASPO_API void ReleaseIUpdateHttp(hvx::IUpdateHttp* update);

// BSTR: length-prefixed, zero-terminated UTF-16 text. On Windows these are oleaut32's; elsewhere
// libcaspo exports them. A null BSTR is the empty text.
HVX_DLL_IMPORT BSTR SysAllocString(const hvx::BstrChar* text);
HVX_DLL_IMPORT BSTR SysAllocStringLen(const hvx::BstrChar* text, UINT length);
HVX_DLL_IMPORT UINT SysStringLen(BSTR text);
HVX_DLL_IMPORT void SysFreeString(BSTR text);

}  // extern "C"
