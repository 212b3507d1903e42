#pragma once

#include "platform/base_types.h"

#if defined(VENIT_BUILDING)
#define VENIT_API HVX_DLL_EXPORT
#else
#define VENIT_API HVX_DLL_IMPORT
#endif
