// caspo-backend: the reference backend, over HTTP and HTTPS, until SIGINT or SIGTERM.
#include <pthread.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "tools/backend/backend.h"
#include "tools/backend/backend_options.h"
#include "tools/backend/ready_file.h"
#include "tools/backend/text_file.h"

namespace {

constexpr int kFailed = 1;
constexpr int kUsageError = 2;
constexpr mode_t kReadyFileMode = 0644;

sigset_t StopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

void Announce(const hvx::backend::Backend& backend) {
    for (const auto& listener : backend.Listeners()) {
        std::cout << "caspo-backend: listening on " << listener.url << "\n";
    }
    if (const auto ca = backend.CaFile()) {
        std::cout << "caspo-backend: " << (backend.MadeNewCa() ? "new" : "reused") << " CA "
                  << ca->string() << ", store import " << backend.TrustFile()->string() << "\n";
    }
    std::cout.flush();
}

int Serve(const hvx::backend::BackendOptions& options) {
    // Blocked before any server thread exists, so every thread inherits the mask and the signals
    // wait for sigwait below instead of killing the process mid-request.
    const sigset_t stopSignals = StopSignals();
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    hvx::backend::Backend backend(options);
    if (const auto problem = backend.Start(); !problem.empty()) {
        std::cerr << "caspo-backend: " << problem << "\n";
        return kFailed;
    }
    Announce(backend);
    if (options.readyFile &&
        !hvx::backend::WriteTextFile(*options.readyFile, hvx::backend::ReadyJson(backend, getpid()),
                                     kReadyFileMode)) {
        std::cerr << "caspo-backend: cannot write " << options.readyFile->string() << "\n";
        return kFailed;
    }
    int received = 0;
    sigwait(&stopSignals, &received);
    backend.Stop();
    if (options.readyFile) {
        std::error_code ignored;
        std::filesystem::remove(*options.readyFile, ignored);
    }
    std::cout << "caspo-backend: stopped by " << (received == SIGINT ? "SIGINT" : "SIGTERM")
              << std::endl;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const auto commandLine =
        hvx::backend::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (commandLine.helpWanted) {
        std::cout << hvx::backend::UsageText();
        return 0;
    }
    if (!commandLine.options) {
        std::cerr << "caspo-backend: " << commandLine.problem << "\n" << hvx::backend::UsageText();
        return kUsageError;
    }
    return Serve(*commandLine.options);
}
