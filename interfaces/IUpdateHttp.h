// IUpdateHttp: the update check, handed out by GetIUpdateHttp and destroyed only by
// ReleaseIUpdateHttp. The virtual operations are in the slot order callers rely on; do not
// reorder them. There is no virtual destructor.
//
// A check usually runs Init, ParseSeed, IsNewer, then SaveAvailableUpdate, GetInstaller and
// SaveInstallerState; a later run may use LoadAvailableInstaller or LoadAvailableLocation
// instead of fetching again. The state lives in the configuration store under
// "config/updater/available" and "config/updater/lastmod". BSTRs handed out belong to the
// caller (SysFreeString); an out argument's previous content is overwritten, not freed.
#pragma once

#include <cstdint>

#include "interfaces/hvx_types.h"

namespace hvx {

class IUpdateHttp {
public:
    // Fetches the seed document from "config/updater/protocol" + "://" + ".../server" +
    // ".../path", with If-Modified-Since when "config/updater/lastmod" is stored.
    //   0: a seed was received (or the store could not be loaded: nothing was fetched).
    //   E_FAIL: the server answered 304, the seed has not changed.
    //   Otherwise the result of the session's Init or of the request.
    virtual HRESULT Init() = 0;
    // Always 0; does nothing.
    virtual HRESULT Reserved1() = 0;
    // Stores the offered version, type and location under "config/updater/available". Always 0.
    virtual HRESULT SaveAvailableUpdate() = 0;
    // Stores the verified installer's path and the seed's Last-Modified value. 0, or
    // HVX_E_CONFIG_SAVE when the store cannot be saved.
    virtual HRESULT SaveInstallerState() = 0;
    // Always 0; does nothing.
    virtual HRESULT Reserved2() = 0;
    // Downloads the offered installer to `path` and verifies its signature.
    //   0: the installer is at `path` and its signature was accepted.
    //   E_FAIL: the signature was refused (the file stays at `path`; do not run it), or the
    //     server answered 304 (no file).
    //   E_INVALIDARG: `path` is null.
    //   Otherwise the result of the session's Init or of the download (no file is left).
    virtual HRESULT GetInstaller(const char16_t* path) = 0;
    // The type of the last parsed seed.
    virtual std::uint32_t GetUpdateType() = 0;
    // The HTTP status of the last seed fetch or installer download.
    virtual std::uint32_t GetResponseCode() = 0;
    // 1 when a stored available version is newer than the product and its installer file is
    // recorded (and remembered as this object's installer); else 0.
    virtual std::int32_t LoadAvailableInstaller() = 0;
    // 1 when a stored available version is newer than the product and its location is recorded:
    // `version` receives the stored version; else 0 and `version` is untouched.
    virtual std::int32_t LoadAvailableLocation(BSTR* version) = 0;
    // Reads location, hash, version, masks and type from the fetched seed. 1 and the offered
    // version in `version` when location, hash and version are all present; else 0.
    virtual std::int32_t ParseSeed(BSTR* version) = 0;
    // 1 when this agent is among the seed's masks and the offered version is greater than
    // "config/agent/version"; a stored available version that is not newer is removed.
    virtual std::int32_t IsNewer() = 0;
    // Removes "config/updater/lastmod", so that the next Init fetches unconditionally. 1 when a
    // value was removed.
    virtual std::int32_t ClearLastModified() = 0;

protected:
    IUpdateHttp() = default;
    ~IUpdateHttp() = default;
    IUpdateHttp(const IUpdateHttp&) = default;
    IUpdateHttp& operator=(const IUpdateHttp&) = default;
    IUpdateHttp(IUpdateHttp&&) = default;
    IUpdateHttp& operator=(IUpdateHttp&&) = default;
};

}  // namespace hvx
