// IConfig: the agent's configuration store, supplied by the sibling library tolva.
//
// Keys are slash-separated narrow (UTF-8) paths that begin with "config/". Values are wide
// text, narrow text, unsigned 32-bit numbers or certificate lists (PEM). The virtual
// operations below are in the slot order every caller relies on; do not reorder them.
//
// Ownership: text returned by GetStringA, GetString, GetString2 and GetProductVersion
// belongs to the store and is handed back with FreeStringA (narrow) or FreeString (wide).
// Certificates returned by GetCertificates are handed back with FreeCertificates.
//
// The last argument of every add, set and delete ("persist") is 1 for a change that the next
// Save writes to disk; 0 changes only this process's copy.
#pragma once

#include <cstdint>

#include "platform/base_types.h"

// OpenSSL's certificate type, declared here so that callers need not include OpenSSL.
struct x509_st;
using X509 = x509_st;

namespace hvx {

// A 32-bit value of 0xFFFFFFFF means "absent".
inline constexpr std::uint32_t kConfigAbsent = 0xFFFFFFFFu;

class IConfig {
public:
    // Adds a wide-text value under a key that does not exist yet. Non-zero when stored; zero
    // when the key already exists or the key is empty or null.
    virtual int AddString(const char* key, const char16_t* value, int persist) = 0;
    // Adds a number under a key that does not exist yet. Non-zero when stored.
    virtual int AddDword(const char* key, std::uint32_t value, int persist) = 0;
    // Removes the key with everything under it. Non-zero when something was removed.
    virtual int DeleteKey(const char* key, int persist) = 0;
    // Narrow text of a text value (wide values are converted), or null.
    virtual char* GetStringA(const char* key) = 0;
    // Wide text of a text value (narrow values are converted), or null.
    virtual char16_t* GetString(const char* key) = 0;
    // The number under the key; 0xFFFFFFFF when absent or not a number.
    virtual std::uint32_t GetDword(const char* key) = 0;
    // Second read family; the same contract as GetString.
    virtual char16_t* GetString2(const char* key) = 0;
    // Second read family; the same contract as GetDword.
    virtual std::uint32_t GetDword2(const char* key) = 0;
    virtual void FreeStringA(char* text) = 0;
    virtual void FreeString(char16_t* text) = 0;
    // Replaces the value of an existing key with wide text. Non-zero when stored; zero when
    // the key does not exist.
    virtual int SetString(const char* key, const char16_t* value, int persist) = 0;
    // Replaces the value of an existing key with a number. Non-zero when stored.
    virtual int SetDword(const char* key, std::uint32_t value, int persist) = 0;
    // Gives the store the module handle it was loaded from.
    virtual void SetModule(HMODULE module) = 0;
    // (Re)loads the store from disk; changes not yet saved are kept. Non-zero on success.
    virtual int Load(int reserved) = 0;
    // Writes every changed key in one transaction. Non-zero when persisted.
    virtual int Save(int reserved) = 0;
    // Non-zero when the key holds a value.
    virtual int Exists(const char* key) = 0;
    // Parses the certificates held under the key. 0 on success (an absent key gives 0 and
    // none); the array and count are handed back with FreeCertificates.
    virtual int GetCertificates(const char* key, X509*** certs, std::uint32_t* count) = 0;
    virtual void FreeCertificates(X509** certs, std::uint32_t count) = 0;
    // Wide text of four dot-separated numbers, or null; hand back with FreeString.
    virtual char16_t* GetProductVersion() = 0;
    // Declared last so that it takes the slot after every operation above. Runs the store's
    // own deleting destructor, so an object is freed by the module that made it.
    virtual ~IConfig() = default;
};

// Signature of tolva's exported factory "CreateConfigClassInstance".
using CreateConfigClassInstanceFn = IConfig* (*)();

}  // namespace hvx
