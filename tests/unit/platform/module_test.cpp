// Loading modules by their Windows names: from disk beside the program, and built-in ones.
#include "platform/module.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/last_error.h"
#include "tests/unit/platform/fails_with.h"

namespace hvx::os {
namespace {

constexpr const char16_t* kProbe = u"platformprobe.dll";
constexpr const char* kProbeSymbol = "PlatformProbeValue";
constexpr int kProbeValueOnDisk = 42;
constexpr int kProbeValueBuiltin = 7;

// The probe's value through a loaded handle; -1 when the symbol is missing.
int CallProbe(HMODULE module) {
    auto* const probe = reinterpret_cast<int (*)()>(os::GetProcAddress(module, kProbeSymbol));
    return probe != nullptr ? probe() : -1;
}

// Registers the built-in probe for the life of the object.
class BuiltinProbe {
public:
    BuiltinProbe() {
        int (*const value)() = [] { return kProbeValueBuiltin; };
        RegisterBuiltinModule(kProbe, {{kProbeSymbol, reinterpret_cast<void*>(value)}});
    }
    ~BuiltinProbe() { UnregisterBuiltinModule(kProbe); }
    BuiltinProbe(const BuiltinProbe&) = delete;
    BuiltinProbe& operator=(const BuiltinProbe&) = delete;
    BuiltinProbe(BuiltinProbe&&) = delete;
    BuiltinProbe& operator=(BuiltinProbe&&) = delete;
};

// Either spelling of the name finds the one module, and each load needs its own free.
TEST(PlatformModules, ModuleBesideTheProgramLoadsByItsWindowsNameOncePerLoad) {
    HMODULE first = LoadLibraryW(kProbe);
    HMODULE second = LoadLibraryW(u"PlatformProbe.DLL");
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(first, second);
    EXPECT_EQ(CallProbe(first), kProbeValueOnDisk);
    EXPECT_TRUE(os::FreeLibrary(first));
    EXPECT_EQ(CallProbe(second), kProbeValueOnDisk);
    EXPECT_TRUE(os::FreeLibrary(second));
    EXPECT_TRUE(FailsWith(ERROR_INVALID_HANDLE, [&] { return os::FreeLibrary(second); }));
}

TEST(PlatformModules, MissingModuleAndSymbolAreReported) {
    EXPECT_TRUE(FailsWith(ERROR_MOD_NOT_FOUND, [&] { return LoadLibraryW(u"nosuchmodule.dll"); }));

    HMODULE module = LoadLibraryW(kProbe);
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(FailsWith(ERROR_PROC_NOT_FOUND,
                          [&] { return os::GetProcAddress(module, "NoSuchSymbol"); }));
    EXPECT_TRUE(os::FreeLibrary(module));
}

TEST(PlatformModules, UnknownHandlesAreRefused) {
    int notAModule = 0;
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): a pointer no loader handed out
    auto* const foreign = reinterpret_cast<HMODULE>(&notAModule);
    for (HMODULE bad : {static_cast<HMODULE>(nullptr), foreign}) {
        EXPECT_TRUE(
            FailsWith(ERROR_INVALID_HANDLE, [&] { return os::GetProcAddress(bad, kProbeSymbol); }));
        EXPECT_TRUE(FailsWith(ERROR_INVALID_HANDLE, [&] { return os::FreeLibrary(bad); }));
    }
}

TEST(PlatformModules, BuiltinModuleComesBeforeTheFile) {
    {
        const BuiltinProbe builtin;
        HMODULE module = LoadLibraryW(u"PLATFORMPROBE.dll");
        ASSERT_NE(module, nullptr);
        EXPECT_EQ(CallProbe(module), kProbeValueBuiltin);
        EXPECT_TRUE(FailsWith(ERROR_PROC_NOT_FOUND,
                              [&] { return os::GetProcAddress(module, "NoSuchSymbol"); }));
        EXPECT_TRUE(os::FreeLibrary(module));
        EXPECT_TRUE(os::FreeLibrary(module));  // built-ins are never unloaded
    }
    HMODULE module = LoadLibraryW(kProbe);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(CallProbe(module), kProbeValueOnDisk);
    EXPECT_TRUE(os::FreeLibrary(module));
}

TEST(PlatformModules, ModuleMarkedMissingFailsToLoadUntilUnregistered) {
    RegisterMissingModule(kProbe);
    EXPECT_TRUE(FailsWith(ERROR_MOD_NOT_FOUND, [&] { return LoadLibraryW(kProbe); }));
    UnregisterBuiltinModule(kProbe);
    HMODULE module = LoadLibraryW(kProbe);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(CallProbe(module), kProbeValueOnDisk);
    EXPECT_TRUE(os::FreeLibrary(module));
}

TEST(PlatformModules, UnregisteredBuiltinHandleFindsNothing) {
    HMODULE module = nullptr;
    {
        const BuiltinProbe builtin;
        module = LoadLibraryW(kProbe);
        ASSERT_NE(module, nullptr);
    }
    EXPECT_TRUE(
        FailsWith(ERROR_PROC_NOT_FOUND, [&] { return os::GetProcAddress(module, kProbeSymbol); }));
}

}  // namespace
}  // namespace hvx::os
