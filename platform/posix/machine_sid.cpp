#include "platform/machine_sid.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <cstddef>
#include <cstdio>
#include <fstream>
#include <string>

namespace hvx::os {

namespace {

constexpr std::array<const char*, 2> kMachineIdFiles = {"/etc/machine-id",
                                                        "/var/lib/dbus/machine-id"};
// The application key the machine id is hashed under, so the SID reveals nothing of the id.
constexpr std::string_view kApplicationKey = "caspo machine account SID v1";
constexpr std::size_t kMachineIdDigits = 32;
constexpr std::uint8_t kSidRevision = 1;
constexpr std::uint8_t kNtAuthority = 5;
constexpr std::uint32_t kNonUniqueAuthority = 21;  // SECURITY_NT_NON_UNIQUE
constexpr std::size_t kSidHeader = 8;
constexpr std::size_t kSubAuthoritySize = 4;
constexpr std::size_t kMaxSubAuthorities = 15;
constexpr std::size_t kDerivedNumbers = 3;
constexpr unsigned kByteBits = 8;

int HexValue(char digit) {
    if (digit >= '0' && digit <= '9') {
        return digit - '0';
    }
    if (digit >= 'a' && digit <= 'f') {
        return digit - 'a' + 10;
    }
    if (digit >= 'A' && digit <= 'F') {
        return digit - 'A' + 10;
    }
    return -1;
}

// The id of a machine-id file: 32 hexadecimal digits on its first line.
bool ReadMachineIdFile(const char* path, MachineId& id) {
    std::ifstream file(path);
    std::string line;
    if (!file || !std::getline(file, line) || line.size() < kMachineIdDigits) {
        return false;
    }
    for (std::size_t index = 0; index < id.size(); ++index) {
        const int high = HexValue(line.at(2 * index));
        const int low = HexValue(line.at(2 * index + 1));
        if (high < 0 || low < 0) {
            return false;
        }
        id.at(index) = static_cast<std::uint8_t>((high << 4) | low);
    }
    return true;
}

bool MachineIdOf(const MachineIdFallback& fallback, MachineId& id) {
    for (const char* path : kMachineIdFiles) {
        if (ReadMachineIdFile(path, id)) {
            return true;
        }
    }
    return fallback && fallback(id);
}

void AppendLittleEndian(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (unsigned shift = 0; shift < kSubAuthoritySize * kByteBits; shift += kByteBits) {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

std::uint32_t ReadLittleEndian(const std::uint8_t* bytes) {
    std::uint32_t value = 0;
    for (std::size_t index = kSubAuthoritySize; index > 0; --index) {
        value = (value << kByteBits) | bytes[index - 1];
    }
    return value;
}

}  // namespace

DWORD LookupAccountSid(const std::u16string& /*account*/, const MachineIdFallback& fallback,
                       std::vector<std::uint8_t>& sid) {
    sid.clear();
    MachineId id{};
    if (!MachineIdOf(fallback, id)) {
        return ERROR_FILE_NOT_FOUND;
    }
    std::array<std::uint8_t, EVP_MAX_MD_SIZE> digest{};
    unsigned int digestLength = 0;
    if (::HMAC(EVP_sha256(), id.data(), static_cast<int>(id.size()),
               reinterpret_cast<const unsigned char*>(kApplicationKey.data()),
               kApplicationKey.size(), digest.data(), &digestLength) == nullptr ||
        digestLength < kDerivedNumbers * kSubAuthoritySize) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    sid = {kSidRevision, 1 + kDerivedNumbers, 0, 0, 0, 0, 0, kNtAuthority};
    AppendLittleEndian(sid, kNonUniqueAuthority);
    for (std::size_t number = 0; number < kDerivedNumbers; ++number) {
        AppendLittleEndian(sid, ReadLittleEndian(&digest.at(number * kSubAuthoritySize)));
    }
    return ERROR_SUCCESS;
}

bool ConvertSidToStringSid(const std::vector<std::uint8_t>& sid, std::u16string& text) {
    if (sid.size() < kSidHeader || sid.at(0) != kSidRevision || sid.at(1) > kMaxSubAuthorities ||
        sid.size() != kSidHeader + sid.at(1) * kSubAuthoritySize) {
        return false;
    }
    std::uint64_t authority = 0;
    for (std::size_t index = 2; index < kSidHeader; ++index) {
        authority = (authority << kByteBits) | sid.at(index);
    }
    // Windows writes an authority of 32 bits or more in hexadecimal.
    constexpr std::uint64_t kDecimalAuthorityLimit = std::uint64_t{1} << 32U;
    std::string made = "S-1-";
    if (authority < kDecimalAuthorityLimit) {
        made += std::to_string(authority);
    } else {
        std::array<char, 24> hex{};
        static_cast<void>(std::snprintf(hex.data(), hex.size(), "0x%012llX",
                                        static_cast<unsigned long long>(authority)));
        made += hex.data();
    }
    for (std::size_t offset = kSidHeader; offset < sid.size(); offset += kSubAuthoritySize) {
        made += "-" + std::to_string(ReadLittleEndian(&sid.at(offset)));
    }
    text.assign(made.begin(), made.end());
    return true;
}

}  // namespace hvx::os
