// hvx::COstraHttp: the management backend's client behind IOstraHttp. It holds the identity
// that every management request carries, the two endpoints, and what decides when the agent
// registers again (what was last sent, a rate limiter). It owns no long-lived session: each
// network operation builds a CHttpCurl of its own and destroys it before returning.
//
// One file per operation family: set-up and the small operations (ostra_http.cpp), endpoint
// facts (endpoint_info.cpp), the registration decision and rate limiter
// (register_decision.cpp), registration (registration.cpp), identity synchronisation
// (identity_sync.cpp), events (event_submission.cpp), policy (policy_fetch.cpp) and its
// templates (policy_template.cpp).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "clients/management/ostra_environment.h"
#include "interfaces/IOstraHttp.h"
#include "platform/critical_section.h"
#include "session/http_curl.h"
#include "siblings/venit/util.h"
#include "support/nic_record.h"

namespace hvx {

class COstraHttp final : public IOstraHttp {
public:
    // The client on the running system's facts.
    COstraHttp();
    explicit COstraHttp(OstraEnvironment environment);
    ~COstraHttp() override;
    COstraHttp(const COstraHttp&) = delete;
    COstraHttp& operator=(const COstraHttp&) = delete;
    COstraHttp(COstraHttp&&) = delete;
    COstraHttp& operator=(COstraHttp&&) = delete;

    // IOstraHttp, slots 1 to 8 (interfaces/IOstraHttp.h has the results).
    HRESULT Init(ShutdownCallback shutdown, std::uint8_t tolerant) override;
    HRESULT Register(const std::uint32_t* coins, std::uint32_t count) override;
    HRESULT Register2(const std::uint32_t* coins, std::uint32_t count) override;
    HRESULT SyncAgentGuid(std::uint32_t* length, char16_t* buffer) override;
    HRESULT SendEvent(std::uint64_t id, std::uint64_t time, std::uint32_t typeId,
                      const char16_t* data) override;
    HRESULT FetchPolicy(std::uint32_t serial, const char16_t* path, std::uint32_t* status) override;
    void ResetRegister() override;
    void UnloadCerts() override;

    // Refreshes host name, adapters, machine SID and hardware id; each step is best effort and
    // logs its failure. Always 0.
    HRESULT FindCommonEndpointInfo();
    // True when Register must send: the host name, the adapters or the pro flag changed, or the
    // agent is not registered; within the rate limit once the backend has answered. Builds the
    // re-registration reason ("/hnm", "/nic_c", "/nic_info", "/vorta").
    bool NeedsRegister();
    // One step of the rate limiter: true when a registration must be held back.
    bool CheckRateLimit();
    // Replaces each "[%set:KEY%]" of `text` by the percent-encoded value of KEY ("agent/..." and
    // "ui/..." keys are read under "config/"); an absent key gives nothing. 0, or
    // HVX_E_CONFIG_UNAVAILABLE without a store (`expanded` then holds `text`).
    [[nodiscard]] static HRESULT ExpandPolicyTemplate(std::u16string text,
                                                      std::u16string& expanded);

    // What the object holds, for the command line's reports and for tests.
    bool Initialised() const { return m_initialised != 0; }
    bool Registered() const { return m_registered != 0; }
    bool BackendAnswered() const { return m_backendAnswered != 0; }
    const std::u16string& ReregistrationReason() const { return m_reregisterReason; }
    const std::u16string& HostName() const { return m_hostName; }
    const std::u16string& MachineSid() const { return m_machineSid; }
    const std::u16string& MachineSidHex() const { return m_machineSidHex; }
    const std::u16string& HardwareId() const { return m_hardwareId; }
    std::uint32_t RateCount() const { return m_rateCount; }

private:
    // Binds `session` to `method` and `url` with a copy of the shutdown callback and the
    // process-wide store; the session's Init result.
    [[nodiscard]] HRESULT StartSession(CHttpCurl& session, const char16_t* method,
                                       std::u16string url, std::uint32_t timeoutSeconds) const;
    // The three fields of each adapter, "nics[i][friendly_name]", "[ip]" and "[mac]", under the
    // inventory lock.
    void AddAdapterFields(CHttpCurl& session);

    // Steps of FindCommonEndpointInfo (endpoint_info.cpp).
    void RefreshHostName();
    void RefreshAdapters();
    void RefreshMachineSid();
    void RefreshHardwareId();
    // Steps of NeedsRegister (register_decision.cpp).
    [[nodiscard]] bool HostNameChanged();
    enum class AdapterChange : std::uint8_t { None, Count, Info, Unknown };
    [[nodiscard]] AdapterChange AdaptersChanged();
    void ReadRateSettings();
    // Steps of Register (registration.cpp).
    [[nodiscard]] HRESULT SendRegistration();
    [[nodiscard]] HRESULT KeepCoins(const std::uint32_t* coins, std::uint32_t count);
    void ReadInstallToken();
    struct OsFacts;
    [[nodiscard]] bool GatherOsFacts(OsFacts& facts) const;
    void AddRegistrationFields(CHttpCurl& session, const OsFacts& facts);
    // Steps of SyncAgentGuid (identity_sync.cpp).
    struct SyncFacts;
    [[nodiscard]] SyncFacts CompareSyncFacts();
    [[nodiscard]] HRESULT PostSyncRequest(std::uint32_t type, std::string& answer);
    [[nodiscard]] HRESULT MakeFreshGuid(std::u16string& guid) const;
    void RememberSyncFacts(const NicInventory& inventory) const;

    OstraEnvironment m_env;
    std::uint32_t m_initialised = 0;
    std::uint32_t m_registered = 0;
    std::u16string m_mgmtEndpoint;
    std::u16string m_eventEndpoint;
    std::u16string m_agentGuid;
    std::u16string m_businessGuid;
    std::u16string m_affiliateGuid;
    std::u16string m_installToken;
    std::u16string m_hostName;
    std::u16string m_hardwareId;
    std::u16string m_machineSid;
    std::u16string m_machineSidHex;
    std::u16string m_reregisterReason;
    std::uint32_t m_proFlag = 0;
    NicInventory m_adapters;
    os::CriticalSection m_adaptersLock;
    Util::UniqueMem<std::uint32_t> m_coins;
    std::uint32_t m_coinCount = 0;
    std::uint32_t m_backendAnswered = 0;
    std::uint32_t m_rateCount = 0;
    std::uint32_t m_rateLimit = 0;
    std::uint32_t m_rateInterval = 0;
    std::uint32_t m_rateEnabled = 1;
    std::uint64_t m_windowStart = 0;
    ShutdownCallback m_shutdown;
};

}  // namespace hvx
