// The update client's state in the configuration store: the offer compared with the agent, the
// available-update record, the installer and the Last-Modified value of its seed.
#include <optional>
#include <string>

#include "clients/update/store_access.h"
#include "clients/update/update_http.h"
#include "clients/update/version_number.h"
#include "platform/bstr.h"
#include "siblings/venit/venit.h"
#include "support/config_keys.h"
#include "support/trace_levels.h"

namespace hvx {

namespace {

constexpr std::size_t kAgentFields = 3;
constexpr std::size_t kProductFields = 4;
constexpr int kPersist = 1;

}  // namespace

std::int32_t CUpdateHttp::IsNewer() {
    if (m_maskMatched == 0) {
        return 0;
    }
    IConfig* config = update::LoadedStore();
    if (config == nullptr) {
        return 0;
    }
    const auto agentVersion = update::ReadText(*config, keys::kAgentVersion);
    if (!agentVersion) {
        error("hvx::CUpdateHttp::IsNewer: could not get server, path or guid");
        return 0;
    }
    const auto offered = update::ReadVersion<kAgentFields>(m_version);
    const auto installed = update::ReadVersion<kAgentFields>(*agentVersion);
    if (const auto available = update::ReadText(*config, keys::kUpdaterAvailableVersion)) {
        if (!update::IsGreater(update::ReadVersion<kAgentFields>(*available), installed)) {
            static_cast<void>(config->DeleteKey(keys::kUpdaterAvailable, kPersist));
            static_cast<void>(config->Save(0));
        }
    }
    trace(kTraceUpdate, "hvx::CUpdateHttp::IsNewer: new major: %d minor: %d build: %d", offered[0],
          offered[1], offered[2]);
    trace(kTraceUpdate, "hvx::CUpdateHttp::IsNewer: old major: %d minor: %d build: %d",
          installed[0], installed[1], installed[2]);
    return update::IsGreater(offered, installed) ? 1 : 0;
}

HRESULT CUpdateHttp::SaveAvailableUpdate() {
    IConfig* config = update::LoadedStore();
    if (config == nullptr) {
        return S_OK;
    }
    update::WriteText(*config, keys::kUpdaterAvailableVersion, m_version);
    update::WriteNumber(*config, keys::kUpdaterAvailableType, m_type);
    update::WriteText(*config, keys::kUpdaterAvailableLocation, m_location);
    static_cast<void>(config->Save(0));
    return S_OK;
}

HRESULT CUpdateHttp::SaveInstallerState() {
    IConfig* config = update::LoadedStore();
    if (config == nullptr) {
        return S_OK;
    }
    update::WriteText(*config, keys::kUpdaterAvailableFile, m_installerPath);
    update::WriteText(*config, keys::kUpdaterLastModified, m_lastMod);
    return config->Save(0) != 0 ? S_OK : HVX_E_CONFIG_SAVE;
}

std::optional<std::u16string> CUpdateHttp::NewerStoredVersion(IConfig& config) {
    if (config.Exists(keys::kUpdaterAvailableVersion) == 0) {
        return std::nullopt;
    }
    auto available = update::ReadText(config, keys::kUpdaterAvailableVersion);
    const auto product = update::ProductVersion(config);
    if (!available || !product ||
        !update::IsGreater(update::ReadVersion<kProductFields>(*available),
                           update::ReadVersion<kProductFields>(*product))) {
        return std::nullopt;
    }
    return available;
}

std::int32_t CUpdateHttp::LoadAvailableInstaller() {
    IConfig* config = update::LoadedStore();
    if (config == nullptr || !NewerStoredVersion(*config) ||
        config->Exists(keys::kUpdaterAvailableFile) == 0) {
        return 0;
    }
    m_installerPath =
        update::ReadText(*config, keys::kUpdaterAvailableFile, kMaxInstallerPathLength)
            .value_or(std::u16string());
    return 1;
}

std::int32_t CUpdateHttp::LoadAvailableLocation(BSTR* version) {
    IConfig* config = update::LoadedStore();
    if (config == nullptr) {
        return 0;
    }
    const auto available = NewerStoredVersion(*config);
    if (!available || config->Exists(keys::kUpdaterAvailableLocation) == 0) {
        return 0;
    }
    m_location = update::ReadText(*config, keys::kUpdaterAvailableLocation, kMaxLocationLength)
                     .value_or(std::u16string());
    if (version != nullptr) {
        *version = os::SysAllocString(available->c_str());
    }
    return 1;
}

std::int32_t CUpdateHttp::ClearLastModified() {
    IConfig* config = update::LoadedStore();
    if (config == nullptr) {
        return 0;
    }
    const bool deleted = config->Exists(keys::kUpdaterLastModified) != 0 &&
                         config->DeleteKey(keys::kUpdaterLastModified, kPersist) != 0;
    static_cast<void>(config->Save(0));
    return deleted ? 1 : 0;
}

}  // namespace hvx
