#include "session/transfer_limits.h"

#include "session/request_buffers.h"
#include "siblings/venit/venit.h"
#include "support/config_keys.h"

namespace hvx::session {
namespace {

// The first body length that the buffer form's 32-bit size cannot report.
constexpr std::uint64_t kUnreportableLength = std::uint64_t{UINT32_MAX} + 1;

struct Bound {
    const char* key;
    std::uint32_t fallback;
    std::uint32_t least;
    std::uint32_t most;
};

// The configured value of a bound; the default when it is absent or out of range (logged).
std::uint32_t Read(IConfig* config, const Bound& bound) {
    const std::uint32_t value = config != nullptr ? config->GetDword2(bound.key) : kConfigAbsent;
    if (value == kConfigAbsent) {
        return bound.fallback;
    }
    if (value < bound.least || value > bound.most) {
        error("hvx::CHttpCurl: %s is %u, outside %u to %u; %u is used", bound.key, value,
              bound.least, bound.most, bound.fallback);
        return bound.fallback;
    }
    return value;
}

// The time bounds of the configuration, and the bounds every form shares.
TransferLimits Common(IConfig* config) {
    TransferLimits limits = kDefaultTransferLimits;
    limits.errorBodyBytes = kBodyPartSize;
    limits.ceilingSeconds = Read(config, {keys::kMaxTransferTime, keys::kMaxTransferTimeDefault, 1,
                                          keys::kMaxTransferTimeLimit});
    limits.stallSeconds =
        Read(config, {keys::kStallTime, keys::kStallTimeDefault, 1, kMaxStallSeconds});
    limits.stallBytesPerSecond =
        Read(config, {keys::kStallRate, keys::kStallRateDefault, 1, keys::kStallRateLimit});
    return limits;
}

}  // namespace

TransferLimits ListLimits(IConfig* config) {
    TransferLimits limits = Common(config);
    limits.keepBytes =
        Read(config, {keys::kMaxBodySize, keys::kMaxBodySizeDefault, 1, kConfigAbsent - 1});
    limits.overflow = BodyOverflow::kFail;
    return limits;
}

TransferLimits BufferLimits(IConfig* config, std::uint32_t capacity) {
    TransferLimits limits = Common(config);
    limits.keepBytes = capacity > 0 ? capacity - 1 : 0;
    limits.overflow = BodyOverflow::kCount;
    limits.countBytes = kUnreportableLength;
    return limits;
}

TransferLimits StreamLimits(IConfig* config) {
    return Common(config);
}

HRESULT ApplyTransferLimits(ITransferEngine* engine, const TransferLimits& limits) {
    if (engine == nullptr) {
        return S_OK;
    }
    const int result = engine->SetTransferLimits(&limits);
    if (TransferFailed(result)) {
        error("hvx::CHttpCurl: the engine refused the transfer limits, res: %d", result);
        return E_UNEXPECTED;
    }
    return S_OK;
}

}  // namespace hvx::session
