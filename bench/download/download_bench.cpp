// download_bench: one large file from caspo-backend (in-process, on a free port of 127.0.0.1) to
// a file, through FileDownloader (libcaspo.so loaded by name and used through its exports, as an
// agent uses it) beside the curl program's `curl -o` of the same URL, alternating, in the same
// run. Prints the rate of every round, the median and best of each and their ratios; the goal is
// a median ratio of at least 0.95. Both clients share the machine with the backend, so a busy
// machine shows in single rounds; the median is the figure to read.
//
//   <build>/bin/download_bench [--mib N] [--rounds N] [--https] [--dir PATH] [--curl PATH]
//
// Defaults: 1024 MiB, 5 rounds, HTTP, the files under $TMPDIR (or /tmp). With --https the store
// trusts the backend's CA with verification on, and curl gets the CA with --cacert.
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "bench/common/table_row.h"
#include "interfaces/caspo.h"
#include "platform/module.h"
#include "tools/backend/backend.h"
#include "tools/config/config_commands.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kMebibyte = std::size_t{1} << 20U;
constexpr double kMegabyte = 1e6;

struct Options {
    std::size_t mebibytes = 1024;
    int rounds = 5;
    bool https = false;
    std::filesystem::path dir;
    std::string curl = "curl";
};

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    const char* tmp = std::getenv("TMPDIR");
    options.dir = tmp != nullptr ? tmp : "/tmp";
    const std::vector<std::string> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--https") {
            options.https = true;
        } else if (args[i] == "--mib" && hasValue) {
            options.mebibytes = std::stoul(args[++i]);
        } else if (args[i] == "--rounds" && hasValue) {
            options.rounds = std::stoi(args[++i]);
        } else if (args[i] == "--dir" && hasValue) {
            options.dir = args[++i];
        } else if (args[i] == "--curl" && hasValue) {
            options.curl = args[++i];
        } else {
            return std::nullopt;
        }
    }
    return options;
}

// A folder of its own under `parent`, removed with everything in it.
class BenchFolder {
public:
    explicit BenchFolder(const std::filesystem::path& parent) {
        std::string pattern = (parent / "download_bench.XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            m_path = pattern;
        }
    }
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;
    BenchFolder(BenchFolder&&) = delete;
    BenchFolder& operator=(BenchFolder&&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// `mebibytes` MiB whose blocks differ, so nothing on the way can shortcut repeated content.
bool WriteServedFile(const std::filesystem::path& file, std::size_t mebibytes) {
    std::ofstream out(file, std::ios::binary);
    std::string block(kMebibyte, '\0');
    for (std::size_t index = 0; index < mebibytes && out; ++index) {
        for (std::size_t offset = 0; offset < block.size(); offset += 64) {
            block[offset] = static_cast<char>(index + offset / 64);
        }
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
    return static_cast<bool>(out.flush());
}

// The process-wide store the library will load: trusting the backend's CA when there is one.
bool PrepareStore(const std::filesystem::path& folder, const hvx::backend::Backend& backend) {
    const std::string store = (folder / "store.db").string();
    if (const auto trust = backend.TrustFile()) {
        std::ostringstream out;
        std::ostringstream err;
        if (hvx::config_tool::RunConfigCommand({"--store", store, "import", trust->string()}, out,
                                               err) != 0) {
            std::cerr << err.str();
            return false;
        }
    }
    setenv("TOLVA_STORE", store.c_str(), 1);
    return true;
}

struct Downloader {
    decltype(&CreateFileDownloaderInstance) create = nullptr;
    decltype(&ReleaseFileDownloaderInstance) release = nullptr;
};

std::optional<Downloader> LoadDownloader() {
    HMODULE module = hvx::os::LoadLibraryW(hvx::kCaspoModule);
    if (module == nullptr) {
        return std::nullopt;
    }
    Downloader downloader;
    downloader.create = reinterpret_cast<decltype(&CreateFileDownloaderInstance)>(
        hvx::os::GetProcAddress(module, "CreateFileDownloaderInstance"));
    downloader.release = reinterpret_cast<decltype(&ReleaseFileDownloaderInstance)>(
        hvx::os::GetProcAddress(module, "ReleaseFileDownloaderInstance"));
    if (downloader.create == nullptr || downloader.release == nullptr) {
        return std::nullopt;
    }
    return downloader;
}

// Seconds taken, or nothing when the download failed.
std::optional<double> ThroughLibrary(const Downloader& library, const std::string& url,
                                     const std::filesystem::path& target) {
    const std::u16string wideUrl(url.begin(), url.end());
    const std::u16string widePath = target.u16string();
    hvx::IFileDownloader* downloader = library.create();
    const auto start = Clock::now();
    const HRESULT hr = downloader->DownloadHttpFile(wideUrl.c_str(), widePath.c_str(), {});
    const auto end = Clock::now();
    library.release(downloader);
    if (FAILED(hr)) {
        std::cerr << "download_bench: FileDownloader failed with 0x" << std::hex
                  << static_cast<std::uint32_t>(hr) << std::dec << '\n';
        return std::nullopt;
    }
    return std::chrono::duration<double>(end - start).count();
}

std::optional<double> ThroughCurl(const Options& options, const std::string& url,
                                  const std::optional<std::filesystem::path>& ca,
                                  const std::filesystem::path& target) {
    std::vector<std::string> words = {options.curl, "--silent", "--fail", "--output",
                                      target.string()};
    if (ca) {
        words.insert(words.end(), {"--cacert", ca->string()});
    }
    words.push_back(url);
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const auto start = Clock::now();
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        std::cerr << "download_bench: cannot start " << options.curl << '\n';
        return std::nullopt;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const auto end = Clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::cerr << "download_bench: curl failed\n";
        return std::nullopt;
    }
    return std::chrono::duration<double>(end - start).count();
}

// The rates of the rounds, in MB/s (10^6 bytes a second), when every round downloaded the whole
// file.
struct Rates {
    std::vector<double> library;
    std::vector<double> curl;
};

double Median(std::vector<double> rates) {
    std::sort(rates.begin(), rates.end());
    const std::size_t middle = rates.size() / 2;
    return rates.size() % 2 == 1 ? rates[middle] : (rates[middle - 1] + rates[middle]) / 2;
}

double Best(const std::vector<double>& rates) {
    return *std::max_element(rates.begin(), rates.end());
}

std::optional<Rates> Measure(const Options& options, const Downloader& library,
                             const hvx::backend::Backend& backend,
                             const std::filesystem::path& folder) {
    const std::string url = backend.Listeners().back().url + "/files/served.bin";
    const std::filesystem::path target = folder / "target.bin";
    const std::uintmax_t size = options.mebibytes * kMebibyte;
    const auto whole = [&target, size] {
        std::error_code missing;
        const bool complete = std::filesystem::file_size(target, missing) == size && !missing;
        std::filesystem::remove(target, missing);
        return complete;
    };
    const auto bytes = static_cast<double>(size);
    Rates rates;
    for (int round = 0; round < options.rounds; ++round) {
        const auto ours = ThroughLibrary(library, url, target);
        const bool oursWhole = ours && whole();
        const auto theirs = ThroughCurl(options, url, backend.CaFile(), target);
        const bool theirsWhole = theirs && whole();
        if (!oursWhole || !theirsWhole) {
            return std::nullopt;
        }
        std::printf("  round %d: FileDownloader %8.1f MB/s   curl -o %8.1f MB/s\n", round + 1,
                    bytes / *ours / kMegabyte, bytes / *theirs / kMegabyte);
        rates.library.push_back(bytes / *ours / kMegabyte);
        rates.curl.push_back(bytes / *theirs / kMegabyte);
    }
    return rates;
}

int Run(const Options& options) {
    const BenchFolder folder(options.dir);
    std::filesystem::create_directories(folder.Path() / "files");
    if (!WriteServedFile(folder.Path() / "files" / "served.bin", options.mebibytes)) {
        std::cerr << "download_bench: cannot write the served file\n";
        return 1;
    }
    hvx::backend::BackendOptions served;
    served.filesDir = folder.Path() / "files";
    if (options.https) {
        served.tlsDir = folder.Path() / "tls";
    }
    hvx::backend::Backend backend(served);
    if (const std::string problem = backend.Start(); !problem.empty()) {
        std::cerr << "download_bench: the backend did not start: " << problem << '\n';
        return 1;
    }
    const auto library = PrepareStore(folder.Path(), backend) ? LoadDownloader() : std::nullopt;
    if (!library) {
        std::cerr << "download_bench: libcaspo.so or its downloader exports are missing\n";
        return 1;
    }
    std::printf("download_bench: %zu MiB over %s from caspo-backend, %d rounds each\n",
                options.mebibytes, options.https ? "https" : "http", options.rounds);
    const auto rates = Measure(options, *library, backend, folder.Path());
    if (!rates) {
        return 1;
    }
    const double ours = Median(rates->library);
    const double theirs = Median(rates->curl);
    std::printf("median: FileDownloader %.1f MB/s, curl -o %.1f MB/s, ratio %.3f (goal >= 0.95)\n",
                ours, theirs, ours / theirs);
    std::printf("best:   FileDownloader %.1f MB/s, curl -o %.1f MB/s, ratio %.3f\n",
                Best(rates->library), Best(rates->curl), Best(rates->library) / Best(rates->curl));
    hvx::bench::PrintTableRow("download " + std::to_string(options.mebibytes) + " MiB to a file",
                              hvx::bench::Figure(ours, "MB/s", 1),
                              "curl -o " + hvx::bench::Figure(theirs, "MB/s", 1), ours / theirs,
                              hvx::bench::Goal::AtLeast, 0.95);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const auto options = ParseOptions(argc, argv);
        if (!options || options->rounds < 1 || options->mebibytes < 1) {
            std::cerr << "usage: download_bench [--mib N] [--rounds N] [--https] [--dir PATH] "
                         "[--curl PATH]\n";
            return 2;
        }
        return Run(*options);
    } catch (const std::exception& failure) {
        // A number that does not read, a folder that cannot be made.
        std::cerr << "download_bench: " << failure.what() << '\n';
        return 1;
    }
}
