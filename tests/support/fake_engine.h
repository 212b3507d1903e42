// A scriptable transfer engine for unit tests of the session. It records what the session asks
// of it (options, callbacks, header lines, transfers) and plays back a scripted answer: the
// result of each operation, header lines for the header callback, a status and a body (handed
// to the write callback when one is set, else kept for ReadBody), and it consults the progress
// callback once per transfer the way libcurl does. It records the limits it is told and does not
// apply them: what they do is mirel's part, tested there.
//
// FakeEngineModule registers it as "mirel.dll". The session resolves the engine's entry points
// once per process, so tests keep the module registered and change the script between cases.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "interfaces/ITransferEngine.h"

namespace hvx::test {

// libcurl results the fake produces.
inline constexpr int kCurlOk = 0;
inline constexpr int kCurlWriteError = 23;
inline constexpr int kCurlAbortedByCallback = 42;
inline constexpr int kCurlCouldntConnect = 7;
inline constexpr int kCurlBadFunctionArgument = 43;

struct EngineScript {
    int setupResult = kCurlOk;
    std::map<int, int> optionResults;    // by option id; absent = 0
    std::map<int, int> callbackResults;  // SetCallback and SetCallbackData, by option id
    int sslVerificationResult = kCurlOk;
    int appendHeaderResult = kCurlOk;
    int transferResult = kCurlOk;  // of Get, Post and Put when nothing aborts
    std::uint32_t responseCode = 200;
    std::vector<std::string> headerLines;  // each handed to the header callback
    std::string body;
    // What GetReceivedBodyLength reports; without it, the body's length.
    std::optional<std::uint64_t> receivedLength;
    int limitsResult = kCurlOk;  // of SetTransferLimits
    std::string errorBuffer;
    std::string lastError = "No error";
};

struct Transfer {
    std::string method;
    std::u16string url;
    std::string body;
};

class FakeEngine : public ITransferEngine {
public:
    explicit FakeEngine(EngineScript initial) : script(std::move(initial)) {}

    EngineScript script;

    // What the session did, in order.
    int setupCalls = 0;
    std::vector<std::pair<int, std::int64_t>> options;
    std::map<int, void*> callbacks;
    std::map<int, void*> callbackData;
    std::vector<std::u16string> appendedHeaders;
    std::vector<Transfer> transfers;
    std::vector<std::uint32_t> sslFlags;
    std::vector<std::uint32_t> readCapacities;
    std::vector<TransferLimits> limits;

    // The last value set for an option, if any.
    const std::int64_t* Option(int id) const;

    int Setup() override;
    int SetOption(int option, std::int64_t value) override;
    int GetResponseCode(std::uint32_t* code) override;
    const char* GetLastErrorText() override { return script.lastError.c_str(); }
    const char* GetErrorBufferText() override { return script.errorBuffer.c_str(); }
    int SetCallback(int option, void* function) override;
    int SetCallbackData(int option, void* data) override;
    int Get(const char16_t* url) override { return Perform("GET", url, {}); }
    int AppendHeader(const char16_t* line) override;
    int Post(const char16_t* url, const char* body, std::uint32_t length) override;
    int Put(const char16_t* url, const char* body, std::uint32_t length) override;
    int ReadBody(char* buffer, std::uint32_t capacity, std::uint32_t* count) override;
    int SetSslVerification(std::uint32_t flags, int reserved, void* reservedPointer) override;
    int GetUnreadBodyLength(std::uint64_t* length) override;
    int SetTransferLimits(const TransferLimits* told) override;
    int GetReceivedBodyLength(std::uint64_t* length) override;

    // The module's release export deletes engines through this class.
    virtual ~FakeEngine() = default;

private:
    int Perform(const char* method, const char16_t* url, std::string body);
    int DeliverHeaders();
    int DeliverBody();
    int AskProgress();

    std::string m_buffered;
    std::size_t m_readOffset = 0;
};

// Registers the fake as "mirel.dll" for the life of the object. Engines are created from
// `script` (settable at any time) and kept until released.
class FakeEngineModule {
public:
    FakeEngineModule();
    ~FakeEngineModule();
    FakeEngineModule(const FakeEngineModule&) = delete;
    FakeEngineModule& operator=(const FakeEngineModule&) = delete;
    FakeEngineModule(FakeEngineModule&&) = delete;
    FakeEngineModule& operator=(FakeEngineModule&&) = delete;

    EngineScript script;
    // When set, CreateNCPClassInstance gives null.
    bool failCreate = false;

    // The engine most recently created (null if none, or once it is released), and how many were
    // released.
    FakeEngine* last = nullptr;
    int created = 0;
    int released = 0;
    // Every transfer of every engine, in order, and the header lines of the engine released last:
    // what clients that release their session before returning sent.
    std::vector<Transfer> transfers;
    std::vector<std::u16string> releasedHeaders;
};

}  // namespace hvx::test
