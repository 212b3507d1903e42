// Reads the engine's buffered response body in parts of kBodyPartSize bytes.
#pragma once

#include <algorithm>
#include <cstdint>

#include "interfaces/ITransferEngine.h"
#include "session/request_buffers.h"

namespace hvx::session {

class BodyReader {
public:
    explicit BodyReader(ITransferEngine& engine) : m_engine(engine) {}

    // The bytes the engine still holds, to size a copy once; 0 when it cannot tell.
    std::uint64_t Unread() const {
        std::uint64_t unread = 0;
        return TransferFailed(m_engine.GetUnreadBodyLength(&unread)) ? 0 : unread;
    }
    // Every byte the body had, kept or only counted; 0 when the engine cannot tell.
    std::uint64_t Received() const {
        std::uint64_t received = 0;
        return TransferFailed(m_engine.GetReceivedBodyLength(&received)) ? 0 : received;
    }
    // Reads the next part into `target`, which has room for kBodyPartSize bytes. The bytes read;
    // 0 at the end of the body or when the engine fails.
    std::uint32_t ReadPart(char* target) {
        std::uint32_t count = 0;
        if (TransferFailed(m_engine.ReadBody(target, kBodyPartSize, &count))) {
            return 0;
        }
        return std::min(count, kBodyPartSize);
    }

private:
    ITransferEngine& m_engine;
};

}  // namespace hvx::session
