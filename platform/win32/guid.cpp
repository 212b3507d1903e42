#include "platform/guid.h"

#include <rpc.h>

namespace hvx::os {

namespace {

constexpr unsigned kByteBits = 8;
constexpr std::size_t kData4Offset = 8;

// The UUID's fields hold numbers; the text form (and Guid) writes them most significant first.
UUID ToUuid(const Guid& guid) {
    UUID uuid{};
    for (std::size_t index = 0; index < 4; ++index) {
        uuid.Data1 = (uuid.Data1 << kByteBits) | guid.at(index);
    }
    uuid.Data2 = static_cast<unsigned short>((guid.at(4) << kByteBits) | guid.at(5));
    uuid.Data3 = static_cast<unsigned short>((guid.at(6) << kByteBits) | guid.at(7));
    for (std::size_t index = 0; index < sizeof uuid.Data4; ++index) {
        uuid.Data4[index] = guid.at(kData4Offset + index);
    }
    return uuid;
}

Guid FromUuid(const UUID& uuid) {
    Guid guid{};
    for (std::size_t index = 0; index < 4; ++index) {
        guid.at(index) = static_cast<std::uint8_t>(uuid.Data1 >> ((3 - index) * kByteBits));
    }
    guid.at(4) = static_cast<std::uint8_t>(uuid.Data2 >> kByteBits);
    guid.at(5) = static_cast<std::uint8_t>(uuid.Data2);
    guid.at(6) = static_cast<std::uint8_t>(uuid.Data3 >> kByteBits);
    guid.at(7) = static_cast<std::uint8_t>(uuid.Data3);
    for (std::size_t index = 0; index < sizeof uuid.Data4; ++index) {
        guid.at(kData4Offset + index) = uuid.Data4[index];
    }
    return guid;
}

}  // namespace

long UuidCreate(Guid& guid) {
    UUID uuid{};
    const RPC_STATUS status = ::UuidCreate(&uuid);
    if (status == RPC_S_OK) {
        guid = FromUuid(uuid);
    }
    return status;
}

long UuidToString(const Guid& guid, std::u16string& text) {
    UUID uuid = ToUuid(guid);
    RPC_WSTR made = nullptr;
    const RPC_STATUS status = ::UuidToStringW(&uuid, &made);
    if (status == RPC_S_OK) {
        text = reinterpret_cast<const char16_t*>(made);
        ::RpcStringFreeW(&made);
    }
    return status;
}

}  // namespace hvx::os
