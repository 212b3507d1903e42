// The computer-name wrapper on a scripted system call, and the fully qualified name with its
// cached fallback on a scripted name method and an in-memory store.
#include "support/host_identity.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "interfaces/hvx_types.h"
#include "platform/last_error.h"
#include "tests/support/fake_config.h"
#include "tests/support/log_capture.h"

namespace hvx {
namespace {

// What the scripted system call answers: to the size query, then to the read.
struct SystemScript {
    BOOL queryResult;
    DWORD queryError;
    DWORD querySize;
    BOOL readResult;
    std::u16string name;
};
SystemScript g_script;

BOOL ScriptedCall(COMPUTER_NAME_FORMAT /*format*/, char16_t* buffer, DWORD* size) {
    if (buffer == nullptr) {
        *size = g_script.querySize;
        os::SetLastError(g_script.queryError);
        return g_script.queryResult;
    }
    if (g_script.readResult != FALSE) {
        std::copy(g_script.name.begin(), g_script.name.end(), buffer);
        *size = static_cast<DWORD>(g_script.name.size());
    }
    return g_script.readResult;
}

TEST(GetComputerNameExW, ScriptedSystemAnswers) {
    const std::string suspicious =
        "hvx::GetComputerNameExW: Suspicious: GetComputerNameEx() returned TRUE with NULL buffer";
    const struct {
        SystemScript script;
        BOOL result;
        std::u16string name;
        std::vector<std::string> errors;
    } cases[] = {
        {{FALSE, ERROR_MORE_DATA, 10, TRUE, u"host.test"}, TRUE, u"host.test", {}},
        {{TRUE, ERROR_SUCCESS, 10, TRUE, u"host.test"}, TRUE, u"host.test", {suspicious}},
        {{TRUE, ERROR_SUCCESS, 0, TRUE, u"host.test"},
         FALSE,
         u"UNKNOWN",
         {suspicious, "hvx::GetComputerNameExW: Invalid buffer size for GetComputerNameEx( 3 )"}},
        {{FALSE, ERROR_ACCESS_DENIED, 10, TRUE, u"host.test"},
         FALSE,
         u"UNKNOWN",
         {"hvx::GetComputerNameExW: GetComputerNameEx ( 3 ) last error not ERROR_MORE_DATA"}},
        {{FALSE, ERROR_MORE_DATA, 10, FALSE, u""},
         FALSE,
         u"UNKNOWN",
         {"hvx::GetComputerNameExW: GetComputerNameEx(3, ...) failed"}},
    };
    for (const auto& c : cases) {
        g_script = c.script;
        const test::LogCapture log;
        std::u16string name = u"previous";
        EXPECT_EQ(GetComputerNameExWith(&ScriptedCall, ComputerNameDnsFullyQualified, name),
                  c.result);
        EXPECT_EQ(name, c.name);
        EXPECT_EQ(log.Errors(), c.errors);
    }
}

TEST(GetComputerNameExW, RealNetBIOSNameIsTheUpperCaseHostLabel) {
    std::u16string host;
    std::u16string netbios;
    ASSERT_EQ(GetComputerNameExW(ComputerNameDnsHostname, host), TRUE);
    ASSERT_EQ(GetNetBIOSName(netbios), TRUE);
    ASSERT_FALSE(netbios.empty());
    EXPECT_LE(netbios.size(), 15u);
    for (std::size_t i = 0; i < netbios.size(); ++i) {
        EXPECT_EQ(netbios[i], std::toupper(host[i])) << "character " << i;
    }
}

// A name method that answers each format from a table and records the formats asked.
struct ScriptedMethod {
    std::vector<std::pair<BOOL, std::u16string>> answers;  // format 3, then format 1
    std::vector<COMPUTER_NAME_FORMAT>* asked;

    BOOL operator()(COMPUTER_NAME_FORMAT format, std::u16string& name) const {
        asked->push_back(format);
        const auto& answer = answers[format == ComputerNameDnsFullyQualified ? 0 : 1];
        name = answer.second;
        return answer.first;
    }
};

constexpr const char* kCachedKey = "config/agent/cachedhostname";

class FQDomainName : public ::testing::Test {
protected:
    HRESULT Run(std::vector<std::pair<BOOL, std::u16string>> answers, bool withConfig = true) {
        return DomainNameHelper::GetFQDomainName(withConfig ? &store : nullptr, name,
                                                 ScriptedMethod{std::move(answers), &asked});
    }
    void TearDown() override { EXPECT_EQ(store.outstanding, 0) << "text not handed back"; }

    test::FakeConfig store;
    test::LogCapture log;
    std::u16string name;
    std::vector<COMPUTER_NAME_FORMAT> asked;
};

TEST_F(FQDomainName, FirstRunStoresTheFullyQualifiedName) {
    EXPECT_EQ(Run({{TRUE, u"node7.example.test"}, {TRUE, u"node7"}}), S_OK);
    EXPECT_EQ(name, u"node7.example.test");
    EXPECT_EQ(asked, std::vector<COMPUTER_NAME_FORMAT>{ComputerNameDnsFullyQualified});
    EXPECT_EQ(store.Wide(kCachedKey), u"node7.example.test");
    EXPECT_EQ(store.saveCount, 0);
    EXPECT_EQ(log.Traces(),
              (std::vector<std::string>{
                  "DomainNameHelper::GetFQDomainName: couldn't find config/agent/cachedhostname "
                  "in config",
                  "DomainNameHelper::GetFQDomainName: Cached hostname: , Actual hostname: "
                  "node7.example.test",
                  "DomainNameHelper::GetFQDomainName: returning node7.example.test"}));
}

TEST_F(FQDomainName, ALetterCaseChangeIsStoredAgain) {
    store.PutWide(kCachedKey, u"NODE7.example.test");
    EXPECT_EQ(Run({{TRUE, u"node7.example.test"}, {TRUE, u"node7"}}), S_OK);
    EXPECT_EQ(store.Wide(kCachedKey), u"node7.example.test");
    EXPECT_TRUE(log.HasTrace(
        "DomainNameHelper::GetFQDomainName: Cached hostname: NODE7.example.test, Actual hostname: "
        "node7.example.test"));
}

TEST_F(FQDomainName, TheHostNameServesWhenTheFullyQualifiedOneFails) {
    store.PutWide(kCachedKey, u"node7");
    store.failSet = true;
    EXPECT_EQ(Run({{FALSE, u""}, {TRUE, u"node7"}}), S_OK);
    EXPECT_EQ(name, u"node7");
    EXPECT_EQ(asked, (std::vector<COMPUTER_NAME_FORMAT>{ComputerNameDnsFullyQualified,
                                                        ComputerNameDnsHostname}));
    EXPECT_TRUE(log.Errors().empty()) << "an unchanged name is not written";
}

TEST_F(FQDomainName, EmptyNamesFallBackToTheCachedName) {
    store.PutWide(kCachedKey, u"cached.example.test");
    EXPECT_EQ(Run({{TRUE, u""}, {TRUE, u""}}), S_OK);
    EXPECT_EQ(name, u"cached.example.test");
    EXPECT_EQ(log.Errors(),
              (std::vector<std::string>{
                  "DomainNameHelper::GetFQDomainName: GetComputerNameEx() returned an empty string",
                  "DomainNameHelper::GetFQDomainName: GetComputerNameEx() returned an empty string",
                  "DomainNameHelper::GetFQDomainName: Calls to GetComputerNameEx() failed using "
                  "cached hostname=cached.example.test instead"}));
}

TEST_F(FQDomainName, EmptyNamesWithoutACachedNameFail) {
    EXPECT_EQ(Run({{TRUE, u""}, {FALSE, u""}}), HVX_E_GENERAL);
    EXPECT_EQ(name, u"");
    EXPECT_TRUE(
        log.HasError("DomainNameHelper::GetFQDomainName: Could not determine computer name"));
    EXPECT_FALSE(store.Find(kCachedKey).has_value());
}

TEST_F(FQDomainName, WithoutConfigTheNameIsFoundAndNothingStored) {
    EXPECT_EQ(Run({{TRUE, u"node7.example.test"}, {TRUE, u"node7"}}, false), S_OK);
    EXPECT_EQ(name, u"node7.example.test");
    EXPECT_TRUE(log.HasTrace(
        "DomainNameHelper::GetFQDomainName: Config object is null, skipping caching..."));
}

TEST_F(FQDomainName, AFailedWriteIsLoggedAndTheNameStillReturned) {
    store.failSet = store.failAdd = true;
    EXPECT_EQ(Run({{TRUE, u"node7.example.test"}, {TRUE, u"node7"}}), S_OK);
    EXPECT_TRUE(
        log.HasError("DomainNameHelper::GetFQDomainName: Couldn't save "
                     "HVX_SET_PATH_CACHED_HOSTNAME=node7.example.test to config"));
}

TEST_F(FQDomainName, AnEmptyMethodIsRefused) {
    name = u"previous";
    EXPECT_EQ(DomainNameHelper::GetFQDomainName(&store, name, nullptr), E_INVALIDARG);
    EXPECT_EQ(name, u"previous");
    EXPECT_TRUE(log.HasError(
        "DomainNameHelper::GetFQDomainName: Invalid Method to get Computer name passed"));
}

TEST_F(FQDomainName, TheSystemNameOfThisMachine) {
    std::u16string expected;
    ASSERT_EQ(GetComputerNameExW(ComputerNameDnsFullyQualified, expected), TRUE);
    EXPECT_EQ(DomainNameHelper::GetFQDomainName(&store, name, &GetComputerNameExW), S_OK);
    EXPECT_EQ(name, expected);
    EXPECT_EQ(store.Wide(kCachedKey), expected);
}

}  // namespace
}  // namespace hvx
