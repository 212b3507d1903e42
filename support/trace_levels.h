// Trace levels: the 64-bit masks passed with every trace record.
#pragma once

#include <cstdint>

namespace hvx {

// General progress of every subsystem.
inline constexpr std::uint64_t kTraceGeneral = 0x1000;
// The TLS option word chosen at session set-up.
inline constexpr std::uint64_t kTraceTls = 0x4000;
// The file upload client.
inline constexpr std::uint64_t kTraceUpload = 0x400000;
// The update check client.
inline constexpr std::uint64_t kTraceUpdate = 0x40000000;
// Every bit: the certificate-store layer's own writer.
inline constexpr std::uint64_t kTraceAll = ~std::uint64_t{0};

}  // namespace hvx
