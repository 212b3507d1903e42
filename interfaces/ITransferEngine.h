// The transfer engine: the interface of the sibling library mirel, one instance per session.
//
// mirel exports "CreateNCPClassInstance" (no arguments; an instance or null) and
// "ReleaseNCPClassInstance" (the instance). An instance wraps one libcurl easy handle, a header
// list and an in-memory response body. Results are libcurl codes (CURLcode), so 0 is success;
// callers judge every result with TransferFailed. Option ids and callback signatures are
// libcurl's.
//
// Every transfer is bounded, in memory and in time, by the instance's TransferLimits.
//
// The virtual operations are in the slot order callers rely on; do not reorder them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace hvx {

// What happens to a buffered body that grows past TransferLimits::keepBytes.
enum class BodyOverflow : std::uint32_t {
    // The transfer ends with CURLE_FILESIZE_EXCEEDED.
    kFail = 0,
    // What was kept is dropped and the rest is only counted (GetReceivedBodyLength).
    kCount = 1,
};

// The bounds of an instance's transfers, told with SetTransferLimits before a transfer.
struct TransferLimits {
    // A buffered body (no caller's write callback) keeps at most this many bytes for ReadBody.
    std::uint64_t keepBytes;
    BodyOverflow overflow;
    // With BodyOverflow::kCount: once this many bytes are counted the transfer ends, and counts
    // as complete.
    std::uint64_t countBytes;
    // The body of a 4xx or 5xx answer: after this many bytes (kept, or handed to the caller's
    // write callback) the transfer ends, and counts as complete.
    std::uint64_t errorBodyBytes;
    // The time a whole transfer may take when the caller set no CURLOPT_TIMEOUT, in seconds.
    std::uint32_t ceilingSeconds;
    // The stall rule: a transfer that moves (up and down together) fewer than
    // stallBytesPerSecond x stallSeconds bytes in any stallSeconds seconds ends with
    // CURLE_OPERATION_TIMEDOUT. At most kMaxStallSeconds.
    std::uint32_t stallSeconds;
    std::uint32_t stallBytesPerSecond;
};

inline constexpr std::uint32_t kMaxStallSeconds = 3600;

// The bounds an instance starts with, and returns to on Setup.
inline constexpr TransferLimits kDefaultTransferLimits{
    .keepBytes = std::uint64_t{64} << 20U,
    .overflow = BodyOverflow::kFail,
    .countBytes = UINT64_MAX,
    .errorBodyBytes = std::uint64_t{64} << 20U,
    .ceilingSeconds = 3600,
    .stallSeconds = 300,
    .stallBytesPerSecond = 1024,
};

class ITransferEngine {
public:
    // Prepares the handle for transfers.
    virtual int Setup() = 0;
    // Sets a libcurl option. `value` is a number for ids below 10000, a pointer (text is
    // UTF-8) for ids from 10000, and a function for ids from 20000.
    virtual int SetOption(int option, std::int64_t value) = 0;
    // The HTTP status of the last transfer.
    virtual int GetResponseCode(std::uint32_t* code) = 0;
    // A description of the last failure, for logs. Never null.
    virtual const char* GetLastErrorText() = 0;
    // libcurl's error buffer of the last transfer (UTF-8). Never null.
    virtual const char* GetErrorBufferText() = 0;
    // Sets a callback option (CURLOPT_WRITEFUNCTION, CURLOPT_HEADERFUNCTION, ...).
    virtual int SetCallback(int option, void* function) = 0;
    // Sets the data pointer that goes with a callback (CURLOPT_WRITEDATA, ...).
    virtual int SetCallbackData(int option, void* data) = 0;
    // Performs a GET of the URL.
    virtual int Get(const char16_t* url) = 0;
    // Adds one header line ("Name: value", no CR or LF) to the transfers that follow.
    virtual int AppendHeader(const char16_t* line) = 0;
    // Performs a POST of `length` bytes of `body`.
    virtual int Post(const char16_t* url, const char* body, std::uint32_t length) = 0;
    // Performs a PUT of `length` bytes of `body`.
    virtual int Put(const char16_t* url, const char* body, std::uint32_t length) = 0;
    // Copies the next part of the buffered response body; *count is 0 at the end.
    virtual int ReadBody(char* buffer, std::uint32_t capacity, std::uint32_t* count) = 0;
    // TLS verification: flags kVerifyHost and kVerifyPeer; the other arguments are 0 and null.
    virtual int SetSslVerification(std::uint32_t flags, int reserved, void* reservedPointer) = 0;
    // How many bytes of the buffered response body ReadBody has still to hand out (0 when the
    // body went to a caller's write callback), so that a reader can size its copy once.
    // This operation and the two after it come after the original slots, which keep their places.
    virtual int GetUnreadBodyLength(std::uint64_t* length) = 0;
    // Sets the bounds of the transfers that follow (see TransferLimits); null restores
    // kDefaultTransferLimits. CURLE_BAD_FUNCTION_ARGUMENT, and nothing changed, when the time of
    // a rule is 0, the stall time is above kMaxStallSeconds or the stall rate is 0.
    virtual int SetTransferLimits(const TransferLimits* limits) = 0;
    // The body bytes of the last transfer: every byte received, whether kept, handed to the
    // caller's write callback or only counted.
    virtual int GetReceivedBodyLength(std::uint64_t* length) = 0;

protected:
    ITransferEngine() = default;
    ~ITransferEngine() = default;
    ITransferEngine(const ITransferEngine&) = default;
    ITransferEngine& operator=(const ITransferEngine&) = default;
    ITransferEngine(ITransferEngine&&) = default;
    ITransferEngine& operator=(ITransferEngine&&) = default;
};

using CreateNCPClassInstanceFn = ITransferEngine* (*)();
using ReleaseNCPClassInstanceFn = void (*)(ITransferEngine*);

inline constexpr const char* kCreateEngineSymbol = "CreateNCPClassInstance";
inline constexpr const char* kReleaseEngineSymbol = "ReleaseNCPClassInstance";

// Flags of SetSslVerification.
inline constexpr std::uint32_t kVerifyHost = 2;
inline constexpr std::uint32_t kVerifyPeer = 4;

// A result fails when it is non-zero and does not have both bits 0x1100 set.
constexpr bool TransferFailed(int result) {
    constexpr int kSuccessBits = 0x1100;
    return result != 0 && (result & kSuccessBits) != kSuccessBits;
}

// libcurl option ids the library sets.
namespace curlopt {
inline constexpr int kPort = 3;
inline constexpr int kTimeout = 13;
inline constexpr int kVerbose = 41;
inline constexpr int kNoProgress = 43;
inline constexpr int kConnectTimeout = 78;
inline constexpr int kHttpAuth = 107;
inline constexpr int kWriteData = 10001;
inline constexpr int kUserPwd = 10005;
inline constexpr int kUserAgent = 10018;
inline constexpr int kHeaderData = 10029;
inline constexpr int kProgressData = 10057;
inline constexpr int kWriteFunction = 20011;
inline constexpr int kProgressFunction = 20056;
inline constexpr int kHeaderFunction = 20079;
inline constexpr int kDebugFunction = 20094;
inline constexpr int kSslCtxFunction = 20108;
}  // namespace curlopt

// libcurl callback signatures.
using WriteCallback = std::size_t (*)(char* data, std::size_t size, std::size_t count, void* user);
using HeaderCallback = std::size_t (*)(char* data, std::size_t size, std::size_t count, void* user);
using ProgressCallback = int (*)(void* user, double downloadTotal, double downloaded,
                                 double uploadTotal, double uploaded);
using DebugCallback = int (*)(void* handle, int infoType, char* data, std::size_t size, void* user);
using SslContextCallback = int (*)(void* handle, void* sslContext, void* user);

}  // namespace hvx
