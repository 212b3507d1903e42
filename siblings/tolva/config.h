// tolva's IConfig: the interface's operations on a CStore.
//
// Every operation checks its arguments: a null, empty or malformed key (see key_rules.h), a
// null value or a value that is not valid UTF-16 is refused (0, null or 0xFFFFFFFF, as the
// operation's contract says for "absent") with an error record that names the operation. No
// exception leaves an operation. Texts are handed out as copies that FreeStringA / FreeString
// give back; certificate arrays go back through FreeCertificates.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "interfaces/IConfig.h"
#include "siblings/tolva/store.h"

namespace tolva {

class CConfig final : public hvx::IConfig {
public:
    explicit CConfig(std::string storePath) : m_store(std::move(storePath)) {}
    ~CConfig() override = default;
    CConfig(const CConfig&) = delete;
    CConfig& operator=(const CConfig&) = delete;
    CConfig(CConfig&&) = delete;
    CConfig& operator=(CConfig&&) = delete;

    int AddString(const char* key, const char16_t* value, int persist) override;
    int AddDword(const char* key, std::uint32_t value, int persist) override;
    int DeleteKey(const char* key, int persist) override;
    char* GetStringA(const char* key) override;
    char16_t* GetString(const char* key) override;
    std::uint32_t GetDword(const char* key) override;
    // The second read family reads the same copy as the first. It exists because the
    // callers' interface has two slots for each read, and callers pick one per key.
    char16_t* GetString2(const char* key) override;
    std::uint32_t GetDword2(const char* key) override;
    void FreeStringA(char* text) override;
    void FreeString(char16_t* text) override;
    // Replacing text keeps the stored kind of text: a narrow value stays narrow, a PEM list
    // stays a certificate list. Replacing a number with text makes it wide text.
    int SetString(const char* key, const char16_t* value, int persist) override;
    int SetDword(const char* key, std::uint32_t value, int persist) override;
    void SetModule(HMODULE module) override;
    int Load(int reserved) override;
    int Save(int reserved) override;
    int Exists(const char* key) override;
    // 0 and the certificates; 0 and none for an absent key; E_INVALIDARG for a bad key or a
    // null output; E_FAIL when the value is a number or its text is not entirely PEM
    // certificates (the ones that parsed are still handed out); E_OUTOFMEMORY.
    int GetCertificates(const char* key, X509*** certs, std::uint32_t* count) override;
    void FreeCertificates(X509** certs, std::uint32_t count) override;
    // The build's version, "major.minor.patch.build".
    char16_t* GetProductVersion() override;

    CStore& Store() { return m_store; }
    HMODULE Module() const { return m_module.load(); }

private:
    enum class WriteMode : std::uint8_t { AddOnly, ReplaceOnly };

    int WriteText(const char* operation, const char* key, const char16_t* value, int persist,
                  WriteMode mode);
    int WriteNumber(const char* operation, const char* key, std::uint32_t value, int persist,
                    WriteMode mode);
    bool Write(const std::string& key, const Value& value, int persist, WriteMode mode);
    std::optional<std::string> ReadText(const char* operation, const char* key);
    char16_t* ReadWide(const char* operation, const char* key);
    std::uint32_t ReadNumber(const char* operation, const char* key);
    int ReadCertificates(const char* operation, const char* key, X509**& certs,
                         std::uint32_t& count);

    CStore m_store;
    std::atomic<HMODULE> m_module{nullptr};
};

}  // namespace tolva
