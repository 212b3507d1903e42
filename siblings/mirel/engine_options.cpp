// Options of a CurlEngine: the caller's values go to libcurl unchanged, except the few the engine
// keeps for itself (the port rule, the write target, the progress callback, the time-out) and
// those it manages alone.
#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

#include "siblings/mirel/curl_engine.h"

namespace hvx::mirel {
namespace {

// Options whose caller's value would break one of the engine's rules: it sets them itself for
// every transfer, or keeps them fixed (no redirects, no CA file, path or cached store, no
// signals).
constexpr std::array kManagedOptions = {
    CURLOPT_URL,
    CURLOPT_HTTPHEADER,
    CURLOPT_ERRORBUFFER,
    CURLOPT_SHARE,
    CURLOPT_PRIVATE,
    CURLOPT_NOSIGNAL,
    CURLOPT_POST,
    CURLOPT_POSTFIELDS,
    CURLOPT_COPYPOSTFIELDS,
    CURLOPT_POSTFIELDSIZE,
    CURLOPT_POSTFIELDSIZE_LARGE,
    CURLOPT_HTTPGET,
    CURLOPT_UPLOAD,
    CURLOPT_NOBODY,
    CURLOPT_CUSTOMREQUEST,
    CURLOPT_READFUNCTION,
    CURLOPT_READDATA,
    CURLOPT_INFILESIZE,
    CURLOPT_INFILESIZE_LARGE,
    CURLOPT_FOLLOWLOCATION,
    CURLOPT_CAINFO,
    CURLOPT_CAPATH,
    CURLOPT_CAINFO_BLOB,
    CURLOPT_PROTOCOLS_STR,
    CURLOPT_CA_CACHE_TIMEOUT,
    CURLOPT_LOW_SPEED_LIMIT,
    CURLOPT_LOW_SPEED_TIME,
};

constexpr long kHighestPort = 65535;

// A libcurl option id tells the type of its value by its range.
bool TakesLong(int option) {
    return option >= CURLOPTTYPE_LONG && option < CURLOPTTYPE_OBJECTPOINT;
}
bool TakesFunction(int option) {
    return option >= CURLOPTTYPE_FUNCTIONPOINT && option < CURLOPTTYPE_OFF_T;
}
bool TakesOffset(int option) {
    return option >= CURLOPTTYPE_OFF_T && option < CURLOPTTYPE_BLOB;
}
bool TakesNumber(int option) {
    return TakesLong(option) || TakesOffset(option);
}

bool IsManaged(int option) {
    return std::ranges::find(kManagedOptions, static_cast<CURLoption>(option)) !=
           kManagedOptions.end();
}

// libcurl reads a function option as a function pointer; any function pointer type has the same
// representation.
using AnyFunction = void (*)();

void* ToPointer(std::int64_t value) {
    // The interface carries pointers as 64-bit numbers.
    return reinterpret_cast<void*>(  // NOLINT(performance-no-int-to-ptr)
        static_cast<std::intptr_t>(value));
}

}  // namespace

int CurlEngine::SetOption(int option, std::int64_t value) {
    if (option >= 0 && !TakesNumber(option)) {
        return Record(ApplyPointerOption(option, ToPointer(value)));
    }
    return Record(ApplyNumberOption(option, value));
}

int CurlEngine::SetCallback(int option, void* function) {
    return Record(ApplyPointerOption(option, function));
}

int CurlEngine::SetCallbackData(int option, void* data) {
    return Record(ApplyPointerOption(option, data));
}

CURLcode CurlEngine::ApplyNumberOption(int option, std::int64_t value) {
    if (!TakesNumber(option)) {
        return Refuse(CURLE_UNKNOWN_OPTION, "unknown option");
    }
    if (IsManaged(option)) {
        return Refuse(CURLE_BAD_FUNCTION_ARGUMENT, "option is managed by the engine");
    }
    const auto id = static_cast<CURLoption>(option);
    if (id == CURLOPT_PORT) {
        return SetDefaultPort(value);
    }
    if (id == CURLOPT_TIMEOUT || id == CURLOPT_TIMEOUT_MS) {
        return SetCallerTimeout(option, value);
    }
    if (id == CURLOPT_NOPROGRESS) {
        m_callerProgress.on = value == 0;
        return CURLE_OK;
    }
    if (TakesOffset(option)) {
        return curl_easy_setopt(m_easy.get(), id, static_cast<curl_off_t>(value));
    }
    if (value < std::numeric_limits<long>::min() || value > std::numeric_limits<long>::max()) {
        return Refuse(CURLE_BAD_FUNCTION_ARGUMENT, "option value out of range");
    }
    return curl_easy_setopt(m_easy.get(), id, static_cast<long>(value));
}

CURLcode CurlEngine::ApplyPointerOption(int option, void* pointer) {
    if (option < 0 || TakesNumber(option)) {
        return Refuse(CURLE_BAD_FUNCTION_ARGUMENT, "option takes a number");
    }
    if (IsManaged(option)) {
        return Refuse(CURLE_BAD_FUNCTION_ARGUMENT, "option is managed by the engine");
    }
    const auto id = static_cast<CURLoption>(option);
    if (void** kept = CallerPointer(id)) {
        *kept = pointer;
        return CURLE_OK;
    }
    if (TakesFunction(option)) {
        return curl_easy_setopt(m_easy.get(), id, reinterpret_cast<AnyFunction>(pointer));
    }
    return curl_easy_setopt(m_easy.get(), id, pointer);
}

void** CurlEngine::CallerPointer(CURLoption option) {
    switch (option) {
        case CURLOPT_WRITEFUNCTION:
            return &m_callerWrite.function;
        case CURLOPT_WRITEDATA:
            return &m_callerWrite.data;
        // libcurl marks the older progress option deprecated; callers still use it.
        case static_cast<CURLoption>(curlopt::kProgressFunction):
            return &m_callerProgress.progress;
        case CURLOPT_XFERINFOFUNCTION:
            return &m_callerProgress.xferinfo;
        case CURLOPT_XFERINFODATA:  // the same option as CURLOPT_PROGRESSDATA
            return &m_callerProgress.data;
        default:
            return nullptr;
    }
}

CURLcode CurlEngine::SetDefaultPort(std::int64_t port) {
    if (port < 0 || port > kHighestPort) {
        return Refuse(CURLE_BAD_FUNCTION_ARGUMENT, "port out of range");
    }
    m_defaultPort = static_cast<long>(port);
    return CURLE_OK;
}

}  // namespace hvx::mirel
