#include "support/config_singleton.h"

#include <memory>

#include "platform/critical_section.h"
#include "siblings/venit/venit.h"
#include "support/module_handle.h"
#include "support/trace_levels.h"

namespace hvx {

namespace {

constexpr const char16_t* kConfigModule = u"tolva.dll";
constexpr const char* kConfigFactory = "CreateConfigClassInstance";

// Created when the library is loaded, deleted when it is unloaded; held only while the store
// is created.
os::CriticalSection g_singletonLock;
IConfig* g_config = nullptr;

// Loads tolva, creates the store and loads it. Null (logged) on any failure, with the module
// unloaded again.
IConfig* CreateStore() {
    ModuleHandle module(os::LoadLibraryW(kConfigModule));
    if (!module) {
        error("hvx::CConfigSingleton::GetInstance: Could not load tolva.dll");
        return nullptr;
    }
    const auto create = GetExport<CreateConfigClassInstanceFn>(module.get(), kConfigFactory);
    if (create == nullptr) {
        error(
            "hvx::CConfigSingleton::GetInstance: Could not find CreateConfigClassInstance in "
            "tolva.dll");
        return nullptr;
    }
    std::unique_ptr<IConfig> config(create());
    if (!config) {
        error("hvx::CConfigSingleton::GetInstance: Could not create Config");
        return nullptr;
    }
    config->SetModule(module.get());
    if (config->Load(0) == 0) {
        error("hvx::CConfigSingleton::GetInstance: failed to load config");
        return nullptr;  // the store goes before its module
    }
    // The store and its module stay for the life of the process.
    static_cast<void>(module.release());
    return config.release();
}

}  // namespace

IConfig* CConfigSingleton::GetInstance() {
    os::CriticalSectionLock lock(g_singletonLock);
    if (g_config == nullptr) {
        g_config = CreateStore();
        if (g_config != nullptr) {
            trace(kTraceGeneral, "hvx::CConfigSingleton::GetInstance : config: 0x%p", g_config);
        }
    }
    return g_config;
}

}  // namespace hvx
