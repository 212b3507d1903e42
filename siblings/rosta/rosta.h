// rosta: the agent's resource library (librosta.so, loaded by name as "rosta.dll"). It carries
// the English (1033) message table of caspo's result codes and the product-name string, as the
// resource table of platform/resources.h.
#pragma once

#include "platform/base_types.h"

namespace hvx {

// The product name, "Halvex Protect".
inline constexpr UINT IDS_HALVEX_PROTECT = 1044;

}  // namespace hvx
