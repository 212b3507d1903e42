#include "support/nic_layout.h"

#include <memory>

#include "interfaces/IConfig.h"
#include "interfaces/hvx_types.h"
#include "support/config_access.h"
#include "support/config_singleton.h"

namespace hvx {

namespace {

// No more positions than this are read back.
constexpr std::size_t kMaxStoredPositions = 100;

constexpr const char* kActiveField = "active";
constexpr const char* kIndexField = "index";
constexpr const char* kFriendlyNameField = "friendly_name";
constexpr const char* kNameField = "name";
constexpr const char* kIpv4Field = "ipv4";
constexpr const char* kIpv6Field = "ipv6";
constexpr const char* kMacField = "mac";

// "<base>/n<position>/", to which a field name is appended.
std::string PositionKey(const std::string& baseKey, std::size_t position) {
    return baseKey + "/n" + std::to_string(position) + "/";
}

void WritePosition(const std::string& key, const NicRecord& record) {
    // Each write saves the store; a failed one leaves that value as it was.
    static_cast<void>(
        WriteConfigDword(key + kActiveField, static_cast<std::uint32_t>(record.active)));
    static_cast<void>(WriteConfigDword(key + kIndexField, record.index));
    static_cast<void>(WriteConfigString(key + kFriendlyNameField, record.friendly_name));
    static_cast<void>(WriteConfigString(key + kNameField, record.name));
    static_cast<void>(WriteConfigString(key + kIpv4Field, record.ipv4));
    static_cast<void>(WriteConfigString(key + kIpv6Field, record.ipv6));
    static_cast<void>(WriteConfigString(key + kMacField, record.mac));
}

// Replaces `value` with the store's text under `key`, when there is one.
void ReadStoreText(IConfig& config, const std::string& key, std::u16string& value) {
    const auto release = [&config](char16_t* text) { config.FreeString(text); };
    const std::unique_ptr<char16_t, decltype(release)> text(config.GetString(key.c_str()), release);
    if (text) {
        value = text.get();
    }
}

// Reads the fields after "active" into `record`; a field that is absent keeps its value.
void ReadPosition(IConfig& config, const std::string& key, NicRecord& record) {
    const std::uint32_t index = config.GetDword((key + kIndexField).c_str());
    if (index != kConfigAbsent) {
        record.index = index;
    }
    ReadStoreText(config, key + kFriendlyNameField, record.friendly_name);
    // A failed read leaves the field untouched, which is what an absent field means here.
    static_cast<void>(ReadConfigString(key + kNameField, record.name));
    static_cast<void>(ReadConfigString(key + kIpv4Field, record.ipv4));
    static_cast<void>(ReadConfigString(key + kIpv6Field, record.ipv6));
    static_cast<void>(ReadConfigString(key + kMacField, record.mac));
}

}  // namespace

HRESULT SaveNicLayout(const std::string& baseKey, const NicInventory& inventory) {
    std::size_t position = 0;
    for (const auto& entry : inventory) {
        WritePosition(PositionKey(baseKey, position++), entry.second);
    }
    return S_OK;
}

HRESULT LoadNicLayout(const std::string& baseKey, NicInventory& inventory) {
    inventory.clear();
    IConfig* config = CConfigSingleton::GetInstance();
    // One record serves every position, so a field a position lacks keeps the one before.
    NicRecord working;
    std::size_t position = 0;
    for (; config != nullptr && position < kMaxStoredPositions; ++position) {
        const std::string key = PositionKey(baseKey, position);
        const std::uint32_t active = config->GetDword((key + kActiveField).c_str());
        if (active == kConfigAbsent) {
            break;
        }
        working.active = static_cast<std::int32_t>(active);
        ReadPosition(*config, key, working);
        inventory.insert_or_assign(working.index, working);
    }
    return position == 0 ? HVX_E_GENERAL : S_OK;
}

}  // namespace hvx
