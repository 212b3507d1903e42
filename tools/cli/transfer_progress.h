// How far a transfer has come, shown while it runs: a thread of its own measures the bytes moved
// so far a few times a second and rewrites one line on the terminal (bytes so far and the mean
// rate). The library does the transfer; what the program can watch from outside (its sockets'
// counters, socket_bytes.h) is the measure.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <ostream>
#include <thread>

namespace hvx::cli {

using ProgressMeasure = std::function<std::uint64_t()>;

class TransferProgress {
public:
    // Starts measuring, drawing on `terminal`; `total` (0 when unknown) is shown beside the bytes.
    TransferProgress(ProgressMeasure measure, std::ostream& terminal, std::uint64_t total = 0);
    // Stops watching, and ends the line, drawn once more, when one was drawn.
    ~TransferProgress();
    TransferProgress(const TransferProgress&) = delete;
    TransferProgress& operator=(const TransferProgress&) = delete;
    TransferProgress(TransferProgress&&) = delete;
    TransferProgress& operator=(TransferProgress&&) = delete;

private:
    void Watch(const std::stop_token& stop);
    void Draw();

    ProgressMeasure m_measure;
    std::uint64_t m_total;
    std::ostream& m_terminal;
    std::chrono::steady_clock::time_point m_start;
    bool m_drawn = false;
    // Last: it starts once everything above exists.
    std::jthread m_thread;
};

}  // namespace hvx::cli
