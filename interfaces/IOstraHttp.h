// IOstraHttp: the management backend's client (registration, identity synchronisation, events,
// policy), handed out by GetIOstraHttp and destroyed only by ReleaseIOstraHTTP. The virtual
// operations are in the slot order callers rely on (the deleting destructor last); do not
// reorder them. One thread calls an object at a time; each network operation runs a session of
// its own and ends it before returning.
#pragma once

#include <cstdint>

#include "interfaces/hvx_types.h"

namespace hvx {

class IOstraHttp {
public:
    // Reads the endpoints and the agent, affiliate and business GUIDs and keeps a copy of
    // `shutdown`. The object is usable afterwards whatever was missing (each missing value is
    // logged). 0 when the business GUID was found (a missing agent or affiliate GUID is
    // tolerated when `tolerant` is non-zero); HVX_E_CONFIG_UNAVAILABLE otherwise.
    virtual HRESULT Init(ShutdownCallback shutdown, std::uint8_t tolerant) = 0;
    // Registers the agent when something changed since the last registration (host name,
    // adapters, the pro flag) or it is not registered yet, within the rate limit once the
    // backend has answered. `coins` holds `count` values (may be null when `count` is 0).
    // 0 when nothing was due or the request succeeded; the request's failure code;
    // E_FAIL when the coin list cannot be copied; HVX_E_GENERAL when the OS version cannot be
    // read; always 0 (past the coin copy) in local test policy mode; S_FALSE for null coins
    // with a non-zero count.
    virtual HRESULT Register(const std::uint32_t* coins, std::uint32_t count) = 0;
    // The second entry: exactly Register.
    virtual HRESULT Register2(const std::uint32_t* coins, std::uint32_t count) = 0;
    // Asks the backend which GUID the agent carries when the host name, adapter layout or
    // hardware id changed since the last synchronisation. `length` is the buffer's capacity in
    // characters. 0 with nothing touched when nothing changed; 0 with the buffer zeroed and
    // *length 0 when the backend confirmed the configured GUID; the request's code with the
    // GUID in `buffer` when a new one was handed back or made. Failures leave the buffer:
    // HVX_E_GENERAL before Init, HVX_E_SYNC_NO_ANSWER, the request's failure code,
    // HVX_E_SYNC_NOT_GUID, E_INVALIDARG (the GUID does not fit), E_FAIL (no fresh GUID could be
    // made). S_FALSE when `length` or `buffer` is null.
    virtual HRESULT SyncAgentGuid(std::uint32_t* length, char16_t* buffer) = 0;
    // Posts one event. 0 for status 200; HVX_E_EVENT_NOT_ACCEPTABLE for 406; HVX_E_GENERAL
    // before Init or for any other status; E_INVALIDARG for an answer that is not UTF-8; the
    // session's set-up or request failure code. S_FALSE when `data` is null.
    virtual HRESULT SendEvent(std::uint64_t id, std::uint64_t time, std::uint32_t typeId,
                              const char16_t* data) = 0;
    // Downloads the policy of `serial` (its level in bits 31 to 28) into the file at `path`.
    // `status` (may be null) is set to 0, and to the HTTP status when the server refused.
    // 0 when downloaded with 200 (always 0 in local test policy mode once the URL is formed);
    // HVX_E_POLICY_CURRENT when that serial is the deployed policy; HVX_E_POLICY_NO_LEVEL;
    // HVX_E_CONFIG_UNAVAILABLE (no template, or no store); HVX_E_POLICY_STATUS (a status other
    // than 200); the session's set-up or download failure code. S_FALSE when `path` is null.
    virtual HRESULT FetchPolicy(std::uint32_t serial, const char16_t* path,
                                std::uint32_t* status) = 0;
    // Forgets that the agent is registered: the next Register sends.
    virtual void ResetRegister() = 0;
    // Frees the process-wide trusted certificates; the next session loads them again.
    virtual void UnloadCerts() = 0;
    // Deleting destructor; callers use ReleaseIOstraHTTP.
    virtual ~IOstraHttp() = default;

protected:
    IOstraHttp() = default;
    IOstraHttp(const IOstraHttp&) = default;
    IOstraHttp& operator=(const IOstraHttp&) = default;
    IOstraHttp(IOstraHttp&&) = default;
    IOstraHttp& operator=(IOstraHttp&&) = default;
};

}  // namespace hvx
