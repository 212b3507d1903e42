// hvx::CUpdateHttp: the update check (IUpdateHttp). Each network operation uses a session of its
// own that lives only for that call; the seed is read through the sibling library pelum, loaded
// by name for each parse. Texts taken from the seed and the store are held within the bounds
// below (characters, without a terminator).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "interfaces/IConfig.h"
#include "interfaces/IUpdateHttp.h"
#include "interfaces/IXmlReader.h"

namespace hvx {

inline constexpr std::size_t kMaxLocationLength = 259;
inline constexpr std::size_t kMaxHashLength = 99;
inline constexpr std::size_t kMaxVersionLength = 19;
inline constexpr std::size_t kMaxInstallerPathLength = 259;
inline constexpr std::size_t kMaxAgentGuidLength = 99;
inline constexpr std::size_t kMaxSeedUrlLength = 259;

class CUpdateHttp final : public IUpdateHttp {
public:
    CUpdateHttp() = default;
    ~CUpdateHttp() = default;
    CUpdateHttp(const CUpdateHttp&) = delete;
    CUpdateHttp& operator=(const CUpdateHttp&) = delete;
    CUpdateHttp(CUpdateHttp&&) = delete;
    CUpdateHttp& operator=(CUpdateHttp&&) = delete;

    HRESULT Init() override;
    HRESULT Reserved1() override { return S_OK; }
    HRESULT SaveAvailableUpdate() override;
    HRESULT SaveInstallerState() override;
    HRESULT Reserved2() override { return S_OK; }
    HRESULT GetInstaller(const char16_t* path) override;
    std::uint32_t GetUpdateType() override { return m_type; }
    std::uint32_t GetResponseCode() override { return m_responseCode; }
    std::int32_t LoadAvailableInstaller() override;
    std::int32_t LoadAvailableLocation(BSTR* version) override;
    std::int32_t ParseSeed(BSTR* version) override;
    std::int32_t IsNewer() override;
    std::int32_t ClearLastModified() override;

    // 1 when the list is null, this agent's identifier is empty, or one mask is a prefix of the
    // identifier (ignoring ASCII letter case); else 0.
    std::int32_t CheckMask(const char16_t* const* masks) const;

    // What the client holds, for tests.
    const std::u16string& LastMod() const { return m_lastMod; }
    const std::string& Seed() const { return m_seed; }
    const std::u16string& Location() const { return m_location; }
    const std::u16string& Hash() const { return m_hash; }
    const std::u16string& Version() const { return m_version; }
    const std::u16string& InstallerPath() const { return m_installerPath; }
    const std::u16string& AgentGuid() const { return m_agentGuid; }
    std::int32_t MaskMatched() const { return m_maskMatched; }

private:
    // Steps of Init and ParseSeed.
    [[nodiscard]] static std::u16string SeedUrl(IConfig& config);
    [[nodiscard]] HRESULT FetchSeed(IConfig& config, const std::u16string& url);
    [[nodiscard]] std::int32_t ReadSeed(IXmlReader& reader, BSTR* version);
    // The stored available version, when it is greater than the product's version.
    [[nodiscard]] static std::optional<std::u16string> NewerStoredVersion(IConfig& config);

    std::u16string m_lastMod;
    std::string m_seed;
    std::u16string m_location;
    std::u16string m_hash;
    std::u16string m_version;
    std::u16string m_installerPath;
    std::u16string m_agentGuid;
    std::uint32_t m_type = 0;
    std::uint32_t m_responseCode = 0;
    std::int32_t m_maskMatched = 0;
};

}  // namespace hvx
