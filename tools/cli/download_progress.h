// How far a download has come, shown while it runs: a thread of its own reads the size of the
// growing file a few times a second and rewrites one line on the terminal (bytes so far and the
// mean rate). The library writes the file; its size is all there is to watch.
#pragma once

#include <filesystem>
#include <ostream>
#include <thread>

namespace hvx::cli {

class DownloadProgress {
public:
    // Starts watching `file`, drawing on `terminal`.
    DownloadProgress(std::filesystem::path file, std::ostream& terminal);
    // Stops watching, and ends the line when one was drawn.
    ~DownloadProgress();
    DownloadProgress(const DownloadProgress&) = delete;
    DownloadProgress& operator=(const DownloadProgress&) = delete;
    DownloadProgress(DownloadProgress&&) = delete;
    DownloadProgress& operator=(DownloadProgress&&) = delete;

private:
    void Watch(const std::stop_token& stop);

    std::filesystem::path m_file;
    std::ostream& m_terminal;
    bool m_drawn = false;
    // Last: it starts once everything above exists.
    std::jthread m_thread;
};

}  // namespace hvx::cli
