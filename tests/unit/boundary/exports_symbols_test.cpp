// libcaspo.so's dynamic symbol table, as `nm` lists it.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <string>

namespace hvx::test {
namespace {

// The names `nm -D --defined-only` lists.
std::set<std::string> DynamicSymbols(const std::string& library) {
    const std::string command = "nm -D --defined-only --format=just-symbols " + library;
    // The check is the tool itself, the way the build is inspected by hand.
    // NOLINTNEXTLINE(cert-env33-c)
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), &pclose);
    std::set<std::string> names;
    std::array<char, 512> line{};
    while (pipe && fgets(line.data(), static_cast<int>(line.size()), pipe.get()) != nullptr) {
        names.emplace(line.data(), std::strcspn(line.data(), "\n"));
    }
    return names;
}

TEST(Exports, DynamicSymbolTableHoldsOnlyTheExportsAndTheBstrHelpers) {
    const std::set<std::string> expected = {"GetIHttp",
                                            "ReleaseIHTTP",
                                            "GetHttpC",
                                            "ReleaseHttpC",
                                            "CreateFileDownloaderInstance",
                                            "ReleaseFileDownloaderInstance",
                                            "GetIWAIHttp",
                                            "ReleaseIWAIHttp",
                                            "GetIOstraHttp",
                                            "ReleaseIOstraHTTP",
                                            "GetIHttpUpload",
                                            "ReleaseIHTTPUpload",
                                            "GetIProductInventoryHttp",
                                            "ReleaseIProductInventoryHttp",
                                            "GetIUpdateHttp",
                                            "ReleaseIUpdateHttp",
                                            "SysAllocString",
                                            "SysAllocStringLen",
                                            "SysStringLen",
                                            "SysFreeString"};
    EXPECT_EQ(DynamicSymbols(CASPO_LIBRARY_FILE), expected);
}

}  // namespace
}  // namespace hvx::test
