// The name of the file written beside a target (platform/file_target.h), shared by the POSIX and
// Win32 implementations.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace hvx::os::detail {

// `target` with its last component, the part after the last of `separators`, cut to
// kBesideNameKeep UTF-16 units (never between the halves of a surrogate pair) and followed by
// ".caspo-", `tag` as 16 lower-case hex digits, and ".part".
std::u16string BesidePath(std::u16string_view target, std::u16string_view separators,
                          std::uint64_t tag);

}  // namespace hvx::os::detail
