// The multipart body builder under an address-space limit (setrlimit, in a death-test child).
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "tests/support/session_fixture.h"

namespace hvx::test {
namespace {

using MultipartBody = SessionTest;

// The process's address space in bytes, from /proc/self/statm (pages).
std::size_t AddressSpace() {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    statm >> pages;
    return pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

MultipartSection Version() {
    return {{{u"Content-Disposition", u"form-data"}}, {{u"name", u"version"}}, {'1', '.', '0'}};
}

TEST_F(MultipartBody, ABufferThatCannotGrowIsFreedAndReported) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizers reserve address space that a limit would take away";
#endif
    constexpr std::size_t kSectionBytes = std::size_t{64} << 20;
    CHttpCurl session;
    Init(session);
    session.AddSection(Version());
    MultipartSection large;
    large.data.assign(kSectionBytes, 'x');
    session.AddSection(large);
    GTEST_FLAG_SET(death_test_style, "fast");
    const auto buildUnderLimit = [&session] {
        const std::size_t limit = AddressSpace() + (std::size_t{16} << 20);
        const rlimit space{limit, limit};
        setrlimit(RLIMIT_AS, &space);
        char* buffer = nullptr;
        std::uint32_t length = 0;
        const HRESULT hr = session.BuildMultipartBody(&buffer, &length);
        std::_Exit(hr == HVX_E_MULTIPART_ALLOC && buffer == nullptr && length == 0 ? 0 : 1);
    };
    EXPECT_EXIT(buildUnderLimit(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace hvx::test
