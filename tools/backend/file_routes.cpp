#include "tools/backend/file_routes.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "tools/backend/file_descriptor.h"
#include "tools/backend/http_date.h"
#include "tools/backend/served_path.h"

namespace hvx::backend {
namespace {

constexpr const char* kFileType = "application/octet-stream";
// Large enough that a 1 GiB file costs a few thousand writes to the socket.
constexpr std::size_t kReadBlock = std::size_t{256} << 10U;
constexpr int kNotModified = 304;
constexpr int kForbidden = 403;
constexpr int kNotFound = 404;
constexpr int kServerError = 500;

bool NotModifiedSince(const httplib::Request& request, std::time_t modified) {
    if (!request.has_header("If-Modified-Since")) {
        return false;
    }
    const auto since = ParseHttpDate(request.get_header_value("If-Modified-Since"));
    return since && modified <= *since;
}

// Reads the file block by block at the offsets cpp-httplib asks for, so ranges work too. The
// descriptor and the block buffer live as long as the response does.
httplib::ContentProvider StreamFrom(std::shared_ptr<FileDescriptor> file, const StopSignal& stop) {
    auto block = std::make_shared<std::vector<char>>(kReadBlock);
    return [file = std::move(file), block = std::move(block), &stop](
               std::size_t offset, std::size_t length, httplib::DataSink& sink) {
        if (stop.Raised()) {
            return false;
        }
        const std::size_t wanted = std::min(length, block->size());
        const ssize_t count = pread(file->Get(), block->data(), wanted, static_cast<off_t>(offset));
        return count > 0 && sink.write(block->data(), static_cast<std::size_t>(count));
    };
}

}  // namespace

void FileRoutes::Register(httplib::Server& server) {
    server.Get(m_pattern, [this](const httplib::Request& request, httplib::Response& response) {
        Serve(request, response);
    });
}

void FileRoutes::Serve(const httplib::Request& request, httplib::Response& response) const {
    const ServedPath served = ResolveServedPath(m_root, request.matches[1].str());
    if (served.verdict != PathVerdict::Found) {
        response.status = served.verdict == PathVerdict::Forbidden ? kForbidden : kNotFound;
        return;
    }
    auto file = std::make_shared<FileDescriptor>(open(served.file.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat facts {};
    if (!file->IsOpen() || fstat(file->Get(), &facts) != 0) {
        response.status = kServerError;
        return;
    }
    response.set_header("Last-Modified", FormatHttpDate(facts.st_mtim.tv_sec));
    if (NotModifiedSince(request, facts.st_mtim.tv_sec)) {
        response.status = kNotModified;
        return;
    }
    if (facts.st_size == 0) {
        response.set_content("", kFileType);
        return;
    }
    response.set_content_provider(static_cast<std::size_t>(facts.st_size), kFileType,
                                  StreamFrom(std::move(file), m_stop));
}

}  // namespace hvx::backend
