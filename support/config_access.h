// Convenience reads and writes on the process-wide configuration store.
#pragma once

#include <cstdint>
#include <string>

#include "platform/base_types.h"

namespace hvx {

// 0 and the value when the number is present; HVX_E_CONFIG_UNAVAILABLE (0xC1030003) and the
// output untouched when there is no store or the value reads 0xFFFFFFFF.
[[nodiscard]] HRESULT ReadConfigDword(const std::string& key, std::uint32_t& value);
// The same through the second read family.
[[nodiscard]] HRESULT ReadConfigDword2(const std::string& key, std::uint32_t& value);
// The raw second-family value; 0xFFFFFFFF also when there is no store.
std::uint32_t ReadConfigDword2Raw(const std::string& key);
// 0 and a copy of the text (empty text counts as found); 0xC1030003 when there is no store or
// no text, with the output untouched.
[[nodiscard]] HRESULT ReadConfigString(const std::string& key, std::u16string& value);
[[nodiscard]] HRESULT ReadConfigString2(const std::string& key, std::u16string& value);
// Set, or add when the key does not exist, then save. 0; 0xC1030003 without a store;
// 0xC1030005 when set and add both fail (nothing saved); 0xC1030004 when the save fails.
[[nodiscard]] HRESULT WriteConfigDword(const std::string& key, std::uint32_t value);
[[nodiscard]] HRESULT WriteConfigString(const std::string& key, const std::u16string& value);

}  // namespace hvx
