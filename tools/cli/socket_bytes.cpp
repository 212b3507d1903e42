#include "tools/cli/socket_bytes.h"

#include <linux/tcp.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <charconv>
#include <filesystem>
#include <string>
#include <system_error>

namespace hvx::cli {

namespace {

constexpr const char* kOwnDescriptors = "/proc/self/fd";

template <typename Field>
std::uint64_t SumOverSockets(Field field) {
    std::uint64_t sum = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(kOwnDescriptors, error)) {
        const std::string name = entry.path().filename().string();
        int fd = -1;
        if (std::from_chars(name.data(), name.data() + name.size(), fd).ec != std::errc{}) {
            continue;
        }
        tcp_info info{};
        socklen_t length = sizeof info;
        // Descriptors that are not TCP sockets fail here and count nothing.
        if (getsockopt(fd, IPPROTO_TCP, TCP_INFO, &info, &length) == 0) {
            sum += field(info);
        }
    }
    return sum;
}

ProgressMeasure SinceNow(std::uint64_t (*counter)()) {
    const std::uint64_t start = counter();
    return [counter, start] {
        const std::uint64_t now = counter();
        return now > start ? now - start : 0;
    };
}

}  // namespace

std::uint64_t BytesSent() {
    return SumOverSockets(
        [](const tcp_info& info) -> std::uint64_t { return info.tcpi_bytes_acked; });
}

std::uint64_t BytesReceived() {
    return SumOverSockets(
        [](const tcp_info& info) -> std::uint64_t { return info.tcpi_bytes_received; });
}

ProgressMeasure SentSinceNow() {
    return SinceNow(&BytesSent);
}

ProgressMeasure ReceivedSinceNow() {
    return SinceNow(&BytesReceived);
}

}  // namespace hvx::cli
