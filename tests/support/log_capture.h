// Captures the records the code under test writes, with every trace level switched on for the
// capture's life (the previous debug level comes back afterwards).
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "siblings/venit/venit.h"

namespace hvx::test {

class LogCapture {
public:
    explicit LogCapture(std::uint64_t debugLevel = ~std::uint64_t{0})
        : m_previousLevel(getDebugLevel()) {
        venit::SetDebugLevel(debugLevel);
    }
    ~LogCapture() { venit::SetDebugLevel(m_previousLevel); }

    std::vector<std::string> Errors() const { return Texts(venit::RecordKind::Error); }
    std::vector<std::string> Traces() const { return Texts(venit::RecordKind::Trace); }
    std::vector<venit::Record> Records() const { return m_sink.Records(); }

    bool HasError(const std::string& text) const { return std::ranges::count(Errors(), text) > 0; }
    bool HasTrace(const std::string& text) const { return std::ranges::count(Traces(), text) > 0; }
    // The level of the first trace with exactly this text, or 0.
    std::uint64_t TraceLevel(const std::string& text) const {
        for (const auto& record : m_sink.Records()) {
            if (record.kind == venit::RecordKind::Trace && record.text == text) {
                return record.level;
            }
        }
        return 0;
    }
    void Clear() { m_sink.Clear(); }

private:
    std::vector<std::string> Texts(venit::RecordKind kind) const {
        std::vector<std::string> texts;
        for (const auto& record : m_sink.Records()) {
            if (record.kind == kind) {
                texts.push_back(record.text);
            }
        }
        return texts;
    }

    std::uint64_t m_previousLevel;
    venit::CaptureSink m_sink;
};

}  // namespace hvx::test
