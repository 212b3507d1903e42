// Module names and folders of the POSIX platform layer: shared-object file names, and the folder
// of the running program.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/module.h"

namespace hvx::os {
namespace {

TEST(PlatformModules, DirectoryIsTheProgramsFolder) {
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_EQ(GetModuleDirectory(), program.parent_path().u16string() + u"/");
}

TEST(PlatformModules, FileNamesFollowTheSharedObjectConvention) {
    const struct {
        const char16_t* name;
        const char16_t* file;
    } cases[] = {
        {u"mirel.dll", u"libmirel.so"},
        {u"Tolva.DLL", u"libtolva.so"},
        {u"venit", u"libvenit.so"},
        {u"libcurl.so.4", u"libcurl.so.4"},
        {u"/opt/x/rosta.dll", u"/opt/x/librosta.so"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ModuleFileName(c.name), c.file);
    }
}

}  // namespace
}  // namespace hvx::os
