// The upload client through libcaspo's exports against caspo-backend in-process: over HTTPS with
// verification on, the backend sees the sections and bytes sent and the credentials given; a
// backend that requires credentials refuses others.
#include <json/json.h>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "platform/file.h"
#include "tests/integration/backend/curl_fetch.h"
#include "tests/integration/upload/agent_store.h"
#include "tools/backend/backend.h"

namespace hvx::test {
namespace {

constexpr const char* kAgent = "7c9e6679-7425-40de-944b-e07fc1f90ae7";
constexpr std::size_t kFileSize = std::size_t{3} << 20U;

class UploadIntegration : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const AgentStore& agent = AgentStore::Shared();
        std::filesystem::create_directories(agent.Folder() / "uploads");
        backend::BackendOptions open;
        open.tlsDir = agent.Folder() / "tls";
        open.uploadDir = agent.Folder() / "uploads";
        backend::BackendOptions guarded;
        guarded.uploadUser = "agent:s3cret";
        s_open = std::make_unique<backend::Backend>(open);
        s_guarded = std::make_unique<backend::Backend>(guarded);
        // One step after the other: each may need the one before.
        for (const auto& step : std::initializer_list<std::function<std::string()>>{
                 [&] { return agent.Problem() + s_open->Start() + s_guarded->Start(); },
                 [&] {
                     return agent.Config({"import", s_open->TrustFile()->string()});
                 },
                 [&] { return agent.Set("config/agent/uuid", kAgent); },
                 [&] { return agent.Set("config/agent/version", "6.5.0", "narrow"); }}) {
            s_problem += step();
        }
        WriteFile(agent.Folder() / "big.bin", std::string(kFileSize, 'b'));
    }
    static void TearDownTestSuite() {
        s_open.reset();
        s_guarded.reset();
    }
    void SetUp() override { ASSERT_EQ(s_problem, ""); }

    static std::u16string Url(const backend::Backend& backend, std::size_t listener) {
        const std::string url = backend.Listeners().at(listener).url + "/upload";
        return {url.begin(), url.end()};
    }
    // The uploads the open backend recorded.
    static Json::Value Recorded() {
        FetchRequest request;
        request.caFile = s_open->CaFile();
        const Fetched fetched = Fetch(s_open->Listeners().at(1).url + "/upload", request);
        Json::Value uploads;
        std::istringstream in(fetched.body);
        Json::parseFromStream(Json::CharReaderBuilder(), in, &uploads, nullptr);
        return uploads;
    }
    static HRESULT Upload(const std::u16string& url, const char16_t* user, const char16_t* password,
                          HANDLE file = nullptr) {
        const auto client = AgentStore::Shared().NewUpload();
        const std::uint8_t memory[] = {'m'};
        return client->UploadFile(url.c_str(), user, password, file ? u"big.bin" : nullptr, file,
                                  nullptr, nullptr, memory, 1, 1, 1);
    }

    static inline std::unique_ptr<backend::Backend> s_open;
    static inline std::unique_ptr<backend::Backend> s_guarded;
    static inline std::string s_problem;
};

TEST_F(UploadIntegration, TheBackendReceivesTheSectionsAndTheCredentials) {
    const auto path = AgentStore::Shared().Folder() / "big.bin";
    HANDLE file = os::CreateFileW(path.u16string().c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Upload(Url(*s_open, 1), u"agent", u"s3cret", file), S_OK);
    os::CloseHandle(file);
    EXPECT_EQ(Upload(Url(*s_open, 1), u"agent", nullptr), S_OK);
    EXPECT_EQ(Upload(Url(*s_open, 1), nullptr, nullptr), S_OK);

    const Json::Value uploads = Recorded();
    ASSERT_EQ(uploads.size(), 3u);
    struct Seen {
        std::string user;
        bool password;
    };
    const Seen seen[] = {{"agent", true}, {"agent", false}, {"", false}};
    for (Json::ArrayIndex i = 0; i < 3; ++i) {
        EXPECT_EQ(uploads[i]["user"].asString(), seen[i].user) << i;
        EXPECT_EQ(uploads[i]["password_given"].asBool(), seen[i].password) << i;
    }
    const Json::Value& parts = uploads[0]["parts"];
    std::string names;
    for (const Json::Value& part : parts) {
        names += part["name"].asString() +
                 (part.isMember("text") ? "=" + part["text"].asString() : "") + " ";
    }
    EXPECT_EQ(names, std::string("agent-guid=") + kAgent + " version=6.5.0 encrypted=1 file file ");
    EXPECT_EQ(parts[3]["filename"].asString(), "big.bin");
    EXPECT_EQ(ReadWholeFile(parts[3]["stored"].asString()), std::string(kFileSize, 'b'));
    EXPECT_EQ(ReadWholeFile(parts[4]["stored"].asString()), "m");
}

TEST_F(UploadIntegration, ABackendThatRequiresCredentialsRefusesOthers) {
    EXPECT_EQ(Upload(Url(*s_guarded, 0), u"agent", u"s3cret"), S_OK);
    EXPECT_EQ(Upload(Url(*s_guarded, 0), u"agent", u"wrong"), HVX_E_UPLOAD_STATUS);
    EXPECT_EQ(Upload(Url(*s_guarded, 0), u"agent", nullptr), HVX_E_UPLOAD_STATUS);
    EXPECT_EQ(Upload(Url(*s_guarded, 0), nullptr, nullptr), HVX_E_UPLOAD_STATUS);
}

}  // namespace
}  // namespace hvx::test
