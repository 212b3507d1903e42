// The transfer engine: the interface of the sibling library mirel, one instance per session.
//
// mirel exports "CreateNCPClassInstance" (no arguments; an instance or null) and
// "ReleaseNCPClassInstance" (the instance). An instance wraps one libcurl easy handle, a header
// list and an in-memory response body. Results are libcurl codes (CURLcode), so 0 is success;
// callers judge every result with TransferFailed. Option ids and callback signatures are
// libcurl's.
//
// The virtual operations are in the slot order callers rely on; do not reorder them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace hvx {

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
    // body went to a caller's write callback), so that a reader can size its copy once. Comes
    // after the original slots, which keep their places.
    virtual int GetUnreadBodyLength(std::uint64_t* length) = 0;

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
