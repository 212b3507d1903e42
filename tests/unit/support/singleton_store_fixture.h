// Tests of code that reaches the store through the process-wide singleton: the singleton loads
// an in-memory store as "tolva.dll", once per program, and each test starts from it emptied
// (ResetStore; ClientTest builds its own starting store on it).
#pragma once

#include <gtest/gtest.h>

#include "platform/module.h"
#include "support/config_singleton.h"
#include "tests/support/fake_config.h"

namespace hvx::test {

class SingletonStoreTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        os::RegisterBuiltinModule(
            u"tolva.dll", {{"CreateConfigClassInstance", reinterpret_cast<void*>(&CreateStore)}});
        ASSERT_NE(CConfigSingleton::GetInstance(), nullptr);
        ASSERT_EQ(CConfigSingleton::GetInstance(), s_store);
    }
    void SetUp() override { ResetStore(); }
    void TearDown() override { EXPECT_EQ(store().outstanding, 0) << "text not handed back"; }
    static FakeConfig& store() { return *s_store; }
    static void ResetStore() {
        store().Clear();
        store().failSet = store().failAdd = store().failSave = store().failLoad = false;
        store().saveCount = 0;
    }

private:
    static IConfig* CreateStore() {
        s_store = new FakeConfig();
        return s_store;
    }

    static inline FakeConfig* s_store = nullptr;
};

}  // namespace hvx::test
