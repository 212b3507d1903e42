#include "bench/request/multipart_bench.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/request/measure.h"
#include "session/http_curl.h"
#include "tests/support/fake_config.h"

namespace hvx::bench {

namespace {

MultipartSection Part(const std::u16string& name, std::vector<char> data) {
    MultipartSection section;
    static_cast<void>(CHttpCurl::AddSectionHeader(section, u"Content-Disposition", u"form-data"));
    static_cast<void>(CHttpCurl::AddSectionParameter(section, u"name", name));
    section.data.assign(data.begin(), data.end());
    return section;
}

void AddParts(CHttpCurl& session, std::size_t fileBytes) {
    for (const char16_t* name : {u"agent_guid", u"affiliate_guid", u"business_guid", u"tid"}) {
        const std::string value = "0123456789ABCDEF0123456789ABCDEF0123";
        session.AddSection(Part(name, {value.begin(), value.end()}));
    }
    MultipartSection file = Part(u"file", PatternedBytes(fileBytes));
    static_cast<void>(CHttpCurl::AddSectionParameter(file, u"filename", u"upload.bin"));
    static_cast<void>(
        CHttpCurl::AddSectionHeader(file, u"Content-Type", u"application/octet-stream"));
    session.AddSection(file);
}

// One build: its time, and the body's length in `bytes`.
double TimedBuild(CHttpCurl& session, std::size_t& bytes) {
    char* body = nullptr;
    std::uint32_t length = 0;
    const double seconds = Seconds([&] {
        if (session.BuildMultipartBody(&body, &length) == S_OK) {
            benchmark::DoNotOptimize(body);
            std::free(body);  // NOLINT(cppcoreguidelines-no-malloc)
        }
    });
    bytes = length;
    return seconds;
}

}  // namespace

MultipartFigures MeasureMultipart(std::size_t fileBytes, int runs) {
    // The builder needs an engine instance, though no transfer is made.
    test::FakeConfig config;
    CHttpCurl session;
    MultipartFigures figures;
    if (session.Init(u"POST", u"http://127.0.0.1/upload", {}, &config, 0) != S_OK) {
        return figures;
    }
    const std::size_t before = ResidentBytes();
    AddParts(session, fileBytes);
    // The producer's own copy of the file part is gone; the peak starts from the sections.
    if (!ResetPeak()) {
        return figures;
    }
    std::vector<double> builds{TimedBuild(session, figures.bodyBytes)};
    figures.peakBytes = PeakResidentBytes() - before;
    std::vector<double> copies;
    const SectionBytes& file = session.Sections().back().data;
    for (int run = 0; run < runs; ++run) {
        std::size_t bytes = 0;
        if (run > 0) {
            builds.push_back(TimedBuild(session, bytes));
        }
        copies.push_back(TimedFreshCopy(file));
    }
    figures.buildSeconds = Median(builds);
    figures.memcpySeconds = Median(copies);
    figures.ok = figures.bodyBytes > fileBytes;
    return figures;
}

}  // namespace hvx::bench
