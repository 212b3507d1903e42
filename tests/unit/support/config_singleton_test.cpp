// How the process-wide store comes to be: each way loading tolva can fail, and the retry on
// the next call. The singleton keeps its store for the life of the process, so the whole story
// runs in one test of a program of its own.
#include "support/config_singleton.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <string>

#include "interfaces/hvx_types.h"
#include "platform/module.h"
#include "support/config_access.h"
#include "tests/support/fake_config.h"
#include "tests/support/log_capture.h"

namespace hvx {
namespace {

int g_created = 0;
int g_destroyed = 0;
bool g_failLoad = false;

class CountedStore : public test::FakeConfig {
public:
    CountedStore() {
        ++g_created;
        failLoad = g_failLoad;
    }
    ~CountedStore() override { ++g_destroyed; }
    CountedStore(const CountedStore&) = delete;
    CountedStore& operator=(const CountedStore&) = delete;
    CountedStore(CountedStore&&) = delete;
    CountedStore& operator=(CountedStore&&) = delete;
};

void RegisterTolva(IConfig* (*factory)()) {
    os::RegisterBuiltinModule(u"tolva.dll",
                              {{"CreateConfigClassInstance", reinterpret_cast<void*>(factory)}});
}

std::string PointerText(const void* pointer) {
    char text[32];
    static_cast<void>(std::snprintf(text, sizeof text, "0x%016" PRIXPTR,
                                    reinterpret_cast<std::uintptr_t>(pointer)));
    return text;
}

TEST(ConfigSingleton, EachFailureIsLoggedAndTheNextCallTriesAgain) {
    test::LogCapture log;
    std::uint32_t number = 7;
    std::u16string text = u"kept";

    os::RegisterMissingModule(u"tolva.dll");
    EXPECT_EQ(CConfigSingleton::GetInstance(), nullptr);
    EXPECT_TRUE(log.HasError("hvx::CConfigSingleton::GetInstance: Could not load tolva.dll"));
    // Without a store the convenience functions report it and leave their outputs alone.
    EXPECT_EQ(ReadConfigDword("config/conn/timeout", number), HVX_E_CONFIG_UNAVAILABLE);
    EXPECT_EQ(ReadConfigString("config/agent/uuid", text), HVX_E_CONFIG_UNAVAILABLE);
    EXPECT_EQ(ReadConfigDword2Raw("config/conn/timeout"), kConfigAbsent);
    EXPECT_EQ(WriteConfigDword("config/conn/timeout", 1), HVX_E_CONFIG_UNAVAILABLE);
    EXPECT_EQ(WriteConfigString("config/agent/uuid", u"x"), HVX_E_CONFIG_UNAVAILABLE);
    EXPECT_EQ(number, 7u);
    EXPECT_EQ(text, u"kept");

    os::RegisterBuiltinModule(u"tolva.dll", {});
    EXPECT_EQ(CConfigSingleton::GetInstance(), nullptr);
    EXPECT_TRUE(
        log.HasError("hvx::CConfigSingleton::GetInstance: Could not find "
                     "CreateConfigClassInstance in tolva.dll"));

    RegisterTolva([]() -> IConfig* { return nullptr; });
    EXPECT_EQ(CConfigSingleton::GetInstance(), nullptr);
    EXPECT_TRUE(log.HasError("hvx::CConfigSingleton::GetInstance: Could not create Config"));

    RegisterTolva([]() -> IConfig* { return new CountedStore(); });
    g_failLoad = true;
    EXPECT_EQ(CConfigSingleton::GetInstance(), nullptr);
    EXPECT_TRUE(log.HasError("hvx::CConfigSingleton::GetInstance: failed to load config"));
    EXPECT_EQ(g_created, 1);
    EXPECT_EQ(g_destroyed, 1);

    g_failLoad = false;
    IConfig* config = CConfigSingleton::GetInstance();
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(g_created, 2);
    EXPECT_EQ(static_cast<CountedStore*>(config)->loadCount, 1);
    EXPECT_NE(static_cast<CountedStore*>(config)->module, nullptr);
    // A level of 0 would mean no such trace.
    EXPECT_EQ(log.TraceLevel("hvx::CConfigSingleton::GetInstance : config: " + PointerText(config)),
              0x1000u);

    // From now on the same store answers, without loading anything again.
    EXPECT_EQ(CConfigSingleton::GetInstance(), config);
    EXPECT_EQ(g_created, 2);
    EXPECT_EQ(static_cast<CountedStore*>(config)->loadCount, 1);
    EXPECT_EQ(WriteConfigDword("config/conn/timeout", 12), S_OK);
    EXPECT_EQ(ReadConfigDword("config/conn/timeout", number), S_OK);
    EXPECT_EQ(number, 12u);
}

}  // namespace
}  // namespace hvx
