// Runs a fuzz target's entry point once over every file of the folders and files it is given,
// without libFuzzer: the seed corpora become regression tests of the ordinary build. A broken
// rule aborts, as it does under the fuzzer.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
// Defined only by the targets that set something up before the first input.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

// The files named, a folder standing for the regular files in it, in name order.
std::set<std::filesystem::path> InputFiles(int argc, char** argv) {
    std::set<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path given(argv[i]);
        std::error_code error;
        if (!std::filesystem::is_directory(given, error)) {
            files.insert(given);
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(given, error)) {
            if (entry.is_regular_file(error)) {
                files.insert(entry.path());
            }
        }
    }
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize != nullptr) {
        LLVMFuzzerInitialize(&argc, &argv);
    }
    const std::set<std::filesystem::path> files = InputFiles(argc, argv);
    if (files.empty()) {
        std::cerr << "no inputs found\n";
        return 2;
    }
    for (const std::filesystem::path& file : files) {
        std::ifstream stream(file, std::ios::binary);
        if (!stream) {
            std::cerr << "cannot read " << file.string() << "\n";
            return 2;
        }
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(stream),
                                              std::istreambuf_iterator<char>()};
        // Flushed before the run, so the input that aborts is the last one printed.
        std::cout << file.string() << " (" << bytes.size() << " bytes)" << std::endl;
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::cout << files.size() << " inputs ran\n";
    return 0;
}
