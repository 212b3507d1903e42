#include "tools/cli/transfer_progress.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <iomanip>
#include <mutex>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>

namespace hvx::cli {

namespace {

constexpr std::chrono::milliseconds kRedrawInterval{250};
constexpr double kUnitStep = 1024.0;
constexpr std::array<std::string_view, 4> kUnits = {"B", "KiB", "MiB", "GiB"};
constexpr int kNumberWidth = 7;

// "  12.3 MiB": the amount in the largest unit that keeps it at 1 or more.
std::string Amount(double bytes) {
    std::size_t unit = 0;
    while (bytes >= kUnitStep && unit + 1 < kUnits.size()) {
        bytes /= kUnitStep;
        ++unit;
    }
    std::ostringstream text;
    text << std::fixed << std::setprecision(1) << std::setw(kNumberWidth) << bytes << ' '
         << kUnits[unit];
    return text.str();
}

}  // namespace

TransferProgress::TransferProgress(ProgressMeasure measure, std::ostream& terminal,
                                   std::uint64_t total)
    : m_measure(std::move(measure)),
      m_total(total),
      m_terminal(terminal),
      m_start(std::chrono::steady_clock::now()),
      m_thread([this](const std::stop_token& stop) { Watch(stop); }) {}

TransferProgress::~TransferProgress() {
    m_thread.request_stop();
    m_thread.join();
    // The line ends with where the transfer ended, not where it was at the last redraw.
    if (m_drawn) {
        Draw();
        m_terminal << '\n' << std::flush;
    }
}

void TransferProgress::Watch(const std::stop_token& stop) {
    if (!m_measure) {
        return;  // nothing to measure on this system: no line
    }
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    while (true) {
        // Nothing notifies: the wait ends at the interval or at the stop request.
        static_cast<void>(wake.wait_for(lock, stop, kRedrawInterval, [] { return false; }));
        if (stop.stop_requested()) {
            return;
        }
        Draw();
        m_drawn = true;
    }
}

void TransferProgress::Draw() {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    const auto bytes = static_cast<double>(m_measure());
    // The blanks at the end wipe what a longer unit name left on the line.
    m_terminal << '\r' << Amount(bytes);
    if (m_total > 0) {
        m_terminal << " of" << Amount(static_cast<double>(m_total));
    }
    m_terminal << "  " << Amount(seconds > 0 ? bytes / seconds : 0.0) << "/s  " << std::flush;
}

}  // namespace hvx::cli
