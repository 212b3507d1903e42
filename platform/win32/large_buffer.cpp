// PrefaultBuffer on Windows: the heap commits memory as it is touched and offers no write
// prefault for it, so the advice is not taken.
#include "platform/large_buffer.h"

namespace hvx::os {

void PrefaultBuffer(void* /*buffer*/, std::size_t /*size*/) {}

}  // namespace hvx::os
