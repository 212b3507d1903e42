// The layout of a signed file, for the verifier here and for the tools that sign:
//
//   [content: N bytes][signature: S bytes][trailer: 16 bytes]
//
// The signature is a CMS (PKCS #7) SignedData in DER, detached, over the N content bytes, with
// the signer's certificate inside. The trailer is the 8 ASCII bytes "HVXSIGN1", S as an unsigned
// 32-bit little-endian number, and the format version 1 as an unsigned 32-bit little-endian
// number.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace Util::signature {

inline constexpr std::array<char, 8> kMagic = {'H', 'V', 'X', 'S', 'I', 'G', 'N', '1'};
inline constexpr std::uint32_t kFormatVersion = 1;
inline constexpr std::size_t kTrailerSize = 16;
// A signature with its certificates fits easily; a larger one is not read.
inline constexpr std::uint32_t kMaxSignatureSize = 64 * 1024;

inline void PutLittleEndian32(std::uint32_t value, unsigned char* out) {
    for (std::size_t i = 0; i < 4; ++i) {
        out[i] = static_cast<unsigned char>((value >> (8 * i)) & 0xFFu);
    }
}

inline std::uint32_t GetLittleEndian32(const unsigned char* in) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(in[i]) << (8 * i);
    }
    return value;
}

// The trailer of a signature of `size` bytes.
inline std::array<unsigned char, kTrailerSize> MakeTrailer(std::uint32_t size) {
    std::array<unsigned char, kTrailerSize> trailer{};
    for (std::size_t i = 0; i < kMagic.size(); ++i) {
        trailer.at(i) = static_cast<unsigned char>(kMagic.at(i));
    }
    PutLittleEndian32(size, trailer.data() + kMagic.size());
    PutLittleEndian32(kFormatVersion, trailer.data() + kMagic.size() + 4);
    return trailer;
}

}  // namespace Util::signature
