#include "platform/guid.h"

#include <sys/random.h>

#include <cerrno>

namespace hvx::os {

namespace {

constexpr long kRpcOk = 0;
// RPC_S_UUID_NO_ADDRESS, the status UuidCreate gives when it has nothing to make a GUID from.
constexpr long kRpcNoSource = 1739;
constexpr std::uint8_t kVersionMask = 0x0F;
constexpr std::uint8_t kVersion4 = 0x40;
constexpr std::uint8_t kVariantMask = 0x3F;
constexpr std::uint8_t kVariantRfc4122 = 0x80;
constexpr std::size_t kVersionByte = 6;
constexpr std::size_t kVariantByte = 8;

}  // namespace

long UuidCreate(Guid& guid) {
    std::size_t filled = 0;
    while (filled < guid.size()) {
        const ssize_t got = ::getrandom(guid.data() + filled, guid.size() - filled, 0);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return kRpcNoSource;
        }
        filled += static_cast<std::size_t>(got);
    }
    guid.at(kVersionByte) =
        static_cast<std::uint8_t>((guid.at(kVersionByte) & kVersionMask) | kVersion4);
    guid.at(kVariantByte) =
        static_cast<std::uint8_t>((guid.at(kVariantByte) & kVariantMask) | kVariantRfc4122);
    return kRpcOk;
}

long UuidToString(const Guid& guid, std::u16string& text) {
    constexpr const char* kDigits = "0123456789abcdef";
    constexpr std::size_t kHyphenBefore[] = {4, 6, 8, 10};
    std::u16string made;
    for (std::size_t index = 0; index < guid.size(); ++index) {
        for (const std::size_t hyphen : kHyphenBefore) {
            if (index == hyphen) {
                made.push_back(u'-');
            }
        }
        made.push_back(static_cast<char16_t>(kDigits[guid.at(index) >> 4U]));
        made.push_back(static_cast<char16_t>(kDigits[guid.at(index) & 0x0FU]));
    }
    text = std::move(made);
    return kRpcOk;
}

}  // namespace hvx::os
