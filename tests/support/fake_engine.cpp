#include "tests/support/fake_engine.h"

#include <algorithm>
#include <cstring>

#include "platform/module.h"

namespace hvx::test {

namespace {

FakeEngineModule* g_module = nullptr;

constexpr int kFirstPointerOption = 10000;
constexpr int kFirstFunctionOption = 20000;
constexpr std::size_t kWriteChunk = 16384;  // bytes per write-callback call

ITransferEngine* CreateFake() {
    if (g_module == nullptr || g_module->failCreate) {
        return nullptr;
    }
    auto* engine = new FakeEngine(g_module->script);
    g_module->last = engine;
    ++g_module->created;
    return engine;
}

void ReleaseFake(ITransferEngine* engine) {
    auto* fake = static_cast<FakeEngine*>(engine);
    if (g_module != nullptr) {
        ++g_module->released;
        g_module->releasedHeaders = fake->appendedHeaders;
        if (g_module->last == fake) {
            g_module->last = nullptr;
        }
    }
    delete fake;
}

}  // namespace

const std::int64_t* FakeEngine::Option(int id) const {
    const auto it = std::find_if(options.rbegin(), options.rend(),
                                 [id](const auto& option) { return option.first == id; });
    return it == options.rend() ? nullptr : &it->second;
}

int FakeEngine::Setup() {
    ++setupCalls;
    return script.setupResult;
}

int FakeEngine::SetOption(int option, std::int64_t value) {
    options.emplace_back(option, value);
    if (option >= kFirstFunctionOption) {
        callbacks[option] = reinterpret_cast<void*>(value);  // NOLINT(performance-no-int-to-ptr)
    } else if (option >= kFirstPointerOption) {
        callbackData[option] = reinterpret_cast<void*>(value);  // NOLINT(performance-no-int-to-ptr)
    }
    const auto it = script.optionResults.find(option);
    return it == script.optionResults.end() ? kCurlOk : it->second;
}

int FakeEngine::GetResponseCode(std::uint32_t* code) {
    *code = script.responseCode;
    return kCurlOk;
}

int FakeEngine::SetCallback(int option, void* function) {
    callbacks[option] = function;
    const auto it = script.callbackResults.find(option);
    return it == script.callbackResults.end() ? kCurlOk : it->second;
}

int FakeEngine::SetCallbackData(int option, void* data) {
    callbackData[option] = data;
    const auto it = script.callbackResults.find(option);
    return it == script.callbackResults.end() ? kCurlOk : it->second;
}

int FakeEngine::AppendHeader(const char16_t* line) {
    appendedHeaders.emplace_back(line);
    return script.appendHeaderResult;
}

int FakeEngine::Post(const char16_t* url, const char* body, std::uint32_t length) {
    return Perform("POST", url, std::string(body == nullptr ? "" : body, body ? length : 0));
}

int FakeEngine::Put(const char16_t* url, const char* body, std::uint32_t length) {
    return Perform("PUT", url, std::string(body == nullptr ? "" : body, body ? length : 0));
}

int FakeEngine::ReadBody(char* buffer, std::uint32_t capacity, std::uint32_t* count) {
    readCapacities.push_back(capacity);
    const std::size_t n = std::min<std::size_t>(capacity, m_buffered.size() - m_readOffset);
    std::memcpy(buffer, m_buffered.data() + m_readOffset, n);
    m_readOffset += n;
    *count = static_cast<std::uint32_t>(n);
    return kCurlOk;
}

int FakeEngine::SetSslVerification(std::uint32_t flags, int /*reserved*/,
                                   void* /*reservedPointer*/) {
    sslFlags.push_back(flags);
    return script.sslVerificationResult;
}

int FakeEngine::GetUnreadBodyLength(std::uint64_t* length) {
    *length = m_buffered.size() - m_readOffset;
    return kCurlOk;
}

int FakeEngine::SetTransferLimits(const TransferLimits* told) {
    limits.push_back(told != nullptr ? *told : kDefaultTransferLimits);
    return script.limitsResult;
}

int FakeEngine::GetReceivedBodyLength(std::uint64_t* length) {
    *length = script.receivedLength.value_or(script.body.size());
    return kCurlOk;
}

int FakeEngine::Perform(const char* method, const char16_t* url, std::string body) {
    transfers.push_back({method, url == nullptr ? u"" : url, std::move(body)});
    if (g_module != nullptr) {
        g_module->transfers.push_back(transfers.back());
    }
    m_buffered.clear();
    m_readOffset = 0;
    if (script.transferResult != kCurlOk) {
        return script.transferResult;
    }
    if (const int result = AskProgress(); result != kCurlOk) {
        return result;
    }
    if (const int result = DeliverHeaders(); result != kCurlOk) {
        return result;
    }
    return DeliverBody();
}

int FakeEngine::AskProgress() {
    const auto* noProgress = Option(curlopt::kNoProgress);
    const auto it = callbacks.find(curlopt::kProgressFunction);
    if (noProgress == nullptr || *noProgress != 0 || it == callbacks.end()) {
        return kCurlOk;
    }
    const auto progress = reinterpret_cast<ProgressCallback>(it->second);
    return progress(callbackData[curlopt::kProgressData], 0, 0, 0, 0) != 0 ? kCurlAbortedByCallback
                                                                           : kCurlOk;
}

int FakeEngine::DeliverHeaders() {
    const auto it = callbacks.find(curlopt::kHeaderFunction);
    if (it == callbacks.end()) {
        return kCurlOk;
    }
    const auto header = reinterpret_cast<HeaderCallback>(it->second);
    for (std::string line : script.headerLines) {
        if (header(line.data(), 1, line.size(), callbackData[curlopt::kHeaderData]) !=
            line.size()) {
            return kCurlWriteError;
        }
    }
    return kCurlOk;
}

int FakeEngine::DeliverBody() {
    const auto it = callbacks.find(curlopt::kWriteFunction);
    if (it == callbacks.end()) {
        m_buffered = script.body;
        return kCurlOk;
    }
    const auto write = reinterpret_cast<WriteCallback>(it->second);
    std::string body = script.body;
    for (std::size_t offset = 0; offset < body.size(); offset += kWriteChunk) {
        const std::size_t n = std::min(kWriteChunk, body.size() - offset);
        if (write(body.data() + offset, 1, n, callbackData[curlopt::kWriteData]) != n) {
            return kCurlWriteError;
        }
    }
    return kCurlOk;
}

FakeEngineModule::FakeEngineModule() {
    g_module = this;
    os::RegisterBuiltinModule(u"mirel.dll",
                              {{kCreateEngineSymbol, reinterpret_cast<void*>(&CreateFake)},
                               {kReleaseEngineSymbol, reinterpret_cast<void*>(&ReleaseFake)}});
}

FakeEngineModule::~FakeEngineModule() {
    g_module = nullptr;
}

}  // namespace hvx::test
