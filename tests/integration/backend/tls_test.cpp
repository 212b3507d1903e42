// HTTPS with the CA that the backend makes in its TLS folder, and the store import it writes.
#include <json/json.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "tests/integration/backend/backend_fixture.h"
#include "tests/integration/backend/http_fetch.h"

namespace hvx::test {
namespace {

using BackendTls = BackendFixture;

Json::Value ReadTrustJson(const std::filesystem::path& folder) {
    Json::Value root;
    std::istringstream in(ReadWholeFile(folder / "trust.json").value_or(""));
    EXPECT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), in, &root, nullptr));
    return root;
}

std::string PortOf(const std::string& url) {
    return url.substr(url.rfind(':'));
}

TEST_F(BackendTls, HttpsIsVerifiedAgainstTheGeneratedCa) {
    EXPECT_TRUE(Running().MadeNewCa());
    const std::filesystem::path ca = TlsDir() / "ca.pem";
    const std::string port = PortOf(Running().Listeners().at(1).url);
    for (const std::string host : {"127.0.0.1", "localhost"}) {
        SCOPED_TRACE(host);
        const Fetched fetched = Fetch(
            std::string("https://").append(host).append(port).append("/echo"), {.caFile = ca});
        EXPECT_EQ(fetched.error, httplib::Error::Success);
        EXPECT_EQ(fetched.status, 200);
    }
    const Fetched untrusted =
        Fetch(HttpsUrl("/echo"), {.caFile = "/etc/ssl/certs/ca-certificates.crt"});
    EXPECT_EQ(untrusted.error, httplib::Error::SSLServerVerification);
}

TEST_F(BackendTls, ASoundFolderIsReusedAndABrokenOneMadeAnew) {
    const auto firstCa = ReadWholeFile(TlsDir() / "ca.pem");
    Running().Stop();
    ASSERT_EQ(StartBackend(), "");
    EXPECT_FALSE(Running().MadeNewCa());
    EXPECT_EQ(ReadWholeFile(TlsDir() / "ca.pem"), firstCa);

    Running().Stop();
    WriteFile(TlsDir() / "server-key.pem", "damaged");
    ASSERT_EQ(StartBackend(), "");
    EXPECT_TRUE(Running().MadeNewCa());
    EXPECT_NE(ReadWholeFile(TlsDir() / "ca.pem"), firstCa);
    const Fetched fetched = Fetch(HttpsUrl("/echo"), {.caFile = TlsDir() / "ca.pem"});
    EXPECT_EQ(fetched.error, httplib::Error::Success);
    EXPECT_EQ(ReadTrustJson(TlsDir())["config/agent/cloud/trustedcerts/cert"]["value"].asString(),
              ReadWholeFile(TlsDir() / "ca.pem"));
}

}  // namespace
}  // namespace hvx::test
