// Feeds the installer signature check arbitrary bytes as a file, with no certificate trusted:
// the trailer, the signature's size and its DER are read from outside input, and nothing may be
// accepted.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz/fuzz_check.h"
#include "siblings/venit/signature.h"
#include "siblings/venit/venit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/caspo-signed-file-fuzz-" + std::to_string(getpid());
    static const bool quiet = [] {
        venit::SetLogFile("");
        return true;
    }();
    static_cast<void>(quiet);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    hvx::fuzz::Check(file != nullptr);
    hvx::fuzz::Check(std::fwrite(data, 1, size, file) == size || size == 0);
    hvx::fuzz::Check(std::fclose(file) == 0);
    const std::u16string widePath(path.begin(), path.end());
    hvx::fuzz::Check(Util::VerifySignature(widePath.c_str(), "", 0, nullptr) == 0);
    static_cast<void>(std::remove(path.c_str()));
    return 0;
}
