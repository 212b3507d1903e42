// COstraHttp::SyncAgentGuid: asks the backend which GUID the agent carries once the host name,
// the adapter layout or the hardware id changed since the last synchronisation. The facts of
// the last synchronisation are kept under "config/ostra/sync/".
#include <algorithm>
#include <string>

#include "clients/management/ostra_http.h"
#include "siblings/venit/venit.h"
#include "support/config_access.h"
#include "support/config_keys.h"
#include "support/config_singleton.h"
#include "support/nic_layout.h"
#include "support/text_utils.h"
#include "support/trace_levels.h"

namespace hvx {

namespace {

// Synchronisation types that allow a fresh GUID: 1 and 2 for a changed adapter layout, 3 and 4
// for a changed host name.
bool AllowsFreshGuid(std::uint32_t type, bool layoutChanged, bool hostChanged) {
    return (layoutChanged && (type == 1 || type == 2)) || (hostChanged && (type == 3 || type == 4));
}

// The layout is the same when the same adapter indexes are there with the same names and MAC
// addresses; a changed address alone is no new layout.
bool SameLayout(const NicInventory& current, const NicInventory& remembered) {
    return std::ranges::equal(current, remembered, [](const auto& a, const auto& b) {
        return a.first == b.first && a.second.friendly_name == b.second.friendly_name &&
               a.second.name == b.second.name && a.second.mac == b.second.mac;
    });
}

}  // namespace

struct COstraHttp::SyncFacts {
    NicInventory fresh;
    bool layoutChanged = true;
    bool hostChanged = true;
    bool hardwareChanged = true;
};

HRESULT COstraHttp::SyncAgentGuid(std::uint32_t* length, char16_t* buffer) {
    if (length == nullptr || buffer == nullptr) {
        return S_FALSE;
    }
    if (m_initialised == 0) {
        return HVX_E_GENERAL;
    }
    static_cast<void>(FindCommonEndpointInfo());
    const SyncFacts facts = CompareSyncFacts();
    if (!facts.layoutChanged && !facts.hostChanged && !facts.hardwareChanged) {
        return S_OK;
    }
    std::uint32_t type = keys::kAgentGuidSyncTypeDefault;
    static_cast<void>(ReadConfigDword(keys::kAgentGuidSyncType, type));
    std::string body;
    const HRESULT sent = PostSyncRequest(type, body);
    if (FAILED(sent)) {
        return sent;
    }
    std::u16string answer;
    const bool text = SUCCEEDED(Utf8ToWide(body, answer));
    std::u16string configured;
    if (text && SUCCEEDED(ReadConfigString(keys::kAgentUuid, configured)) && answer == configured) {
        std::fill_n(buffer, *length, u'\0');
        *length = 0;
        RememberSyncFacts(facts.fresh);
        return S_OK;
    }
    if (text && (answer.empty() || answer == u" ") &&
        AllowsFreshGuid(type, facts.layoutChanged, facts.hostChanged)) {
        const HRESULT made = MakeFreshGuid(answer);
        if (FAILED(made)) {
            return made;
        }
    }
    // Only text of a GUID's length goes to the validator, whatever the backend sent.
    constexpr std::size_t kGuidLength = 36;
    if (!text || answer.size() != kGuidLength || !IsValidGuid(answer)) {
        return HVX_E_SYNC_NOT_GUID;
    }
    // The GUID and its terminator must fit; the buffer is left as it was otherwise.
    if (answer.size() >= *length) {
        return E_INVALIDARG;
    }
    std::ranges::copy(answer, buffer);
    buffer[answer.size()] = u'\0';
    RememberSyncFacts(facts.fresh);
    return sent;
}

COstraHttp::SyncFacts COstraHttp::CompareSyncFacts() {
    SyncFacts facts;
    NicInventory remembered;
    if (SUCCEEDED(m_env.networkInfo(facts.fresh)) &&
        SUCCEEDED(LoadNicLayout(keys::kNicLayout, remembered))) {
        facts.layoutChanged = !SameLayout(facts.fresh, remembered);
    }
    std::u16string hostName;
    facts.hostChanged =
        FAILED(ReadConfigString(keys::kSyncHostName, hostName)) || hostName != m_hostName;
    std::u16string hardwareId;
    static_cast<void>(ReadConfigString(keys::kSyncHardwareId, hardwareId));
    facts.hardwareChanged = hardwareId != m_hardwareId;
    return facts;
}

HRESULT COstraHttp::PostSyncRequest(std::uint32_t type, std::string& answer) {
    std::u16string policyGuid;
    static_cast<void>(ReadConfigString(keys::kPolicyUuid, policyGuid));
    static_cast<void>(ReadConfigString(keys::kMgmtEndpoint, m_mgmtEndpoint));
    CHttpCurl session;
    const HRESULT started = StartSession(session, u"POST", m_mgmtEndpoint + u"sync_agent_guid", 0);
    if (FAILED(started)) {
        return started;
    }
    static_cast<void>(session.AddFormField(u"bg", m_businessGuid));
    static_cast<void>(session.AddFormField(u"ag", m_agentGuid));
    static_cast<void>(session.AddFormField(u"pg", policyGuid));
    static_cast<void>(session.AddFormField(u"hostname", m_hostName));
    static_cast<void>(session.AddFormField(u"csid", m_machineSid));
    static_cast<void>(session.AddFormField(u"csidhex", m_machineSidHex));
    static_cast<void>(session.AddFormField(u"agst", type));
    AddAdapterFields(session);
    std::uint32_t status = 0;
    const HRESULT result = session.MakeRequestToString(status, answer);
    if (FAILED(result) && static_cast<std::int32_t>(status) <= 0) {
        return HVX_E_SYNC_NO_ANSWER;
    }
    return result;
}

HRESULT COstraHttp::MakeFreshGuid(std::u16string& guid) const {
    os::Guid fresh{};
    if (m_env.newGuid(fresh) != 0) {
        error("hvx::COstraHttp::SyncAgentGuid: failed to createa  new UUID");
        return E_FAIL;
    }
    if (os::UuidToString(fresh, guid) != 0) {
        error("hvx::COstraHttp::SyncAgentGuid: failed to UuidToString new guid");
        return E_FAIL;
    }
    trace(kTraceGeneral,
          u"Received empty guid from backend, while having changing hardware/hostname. Creating "
          u"new guid/identity: %s",
          guid);
    return S_OK;
}

void COstraHttp::RememberSyncFacts(const NicInventory& inventory) const {
    // The old layout goes first: positions past the end of a shorter one would otherwise stay
    // and read back as a change at every later call.
    if (IConfig* config = CConfigSingleton::GetInstance()) {
        static_cast<void>(config->DeleteKey(keys::kNicLayout, 1));
    }
    static_cast<void>(SaveNicLayout(keys::kNicLayout, inventory));
    static_cast<void>(WriteConfigString(keys::kSyncHostName, m_hostName));
    if (!m_hardwareId.empty()) {
        static_cast<void>(WriteConfigString(keys::kSyncHardwareId, m_hardwareId));
    }
}

}  // namespace hvx
