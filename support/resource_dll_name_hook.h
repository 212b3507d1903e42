// Names the resource module that GetResourceDllName reports. The library itself never calls
// it: the name stays empty in production (and the product-name messages fail). Tests call it,
// while no other thread reads the name, to see those messages with a product name, and restore
// the empty name afterwards.
#pragma once

#include <string>

namespace hvx {

void SetResourceDllNameForTests(std::u16string name);

}  // namespace hvx
