// Feeds the type-checked formatter hostile formats with arguments of every kind. Text
// arguments sit in buffers of exactly their length, without a terminating zero, so a read
// past the end of one is caught by the address sanitizer.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "siblings/venit/format_arg.h"

namespace {

constexpr std::size_t kMaxArguments = 8;
constexpr std::size_t kMaxTextUnits = 64;

// Owns the argument texts for the length of one run.
class Arguments {
public:
    explicit Arguments(FuzzedDataProvider& input) : m_input(input) {}

    std::vector<venit::FormatArg> Make() {
        // One maker for every kind of argument the formatter takes, null texts included.
        const std::function<venit::FormatArg()> makers[] = {
            [this] { return m_input.ConsumeIntegral<std::int32_t>(); },
            [this] { return m_input.ConsumeIntegral<std::int64_t>(); },
            [this] { return m_input.ConsumeIntegral<std::uint32_t>(); },
            [this] { return m_input.ConsumeIntegral<std::uint64_t>(); },
            [this] { return m_input.ConsumeIntegral<char>(); },
            [this] { return m_input.ConsumeIntegral<std::int16_t>(); },
            [this] { return m_input.ConsumeFloatingPoint<double>(); },
            [this] {
                // Only the pointer's value is formatted; it is never followed.
                return reinterpret_cast<const void*>(  // NOLINT(performance-no-int-to-ptr)
                    m_input.ConsumeIntegral<std::uintptr_t>());
            },
            [] { return nullptr; },
            [this] { return NarrowText(); },
            [this] { return WideText(); },
            [] { return static_cast<const char*>(nullptr); },
            [] { return static_cast<const char16_t*>(nullptr); },
        };
        std::vector<venit::FormatArg> args;
        const auto count = m_input.ConsumeIntegralInRange<std::size_t>(0, kMaxArguments);
        for (std::size_t i = 0; i < count; ++i) {
            const auto kind = m_input.ConsumeIntegralInRange<std::size_t>(0, std::size(makers) - 1);
            args.push_back(makers[kind]());
        }
        return args;
    }

private:
    venit::FormatArg NarrowText() {
        const std::string bytes = m_input.ConsumeRandomLengthString(kMaxTextUnits);
        auto& buffer = m_narrow.emplace_back(std::make_unique<char[]>(bytes.size()));
        std::copy(bytes.begin(), bytes.end(), buffer.get());
        return std::string_view(buffer.get(), bytes.size());
    }

    venit::FormatArg WideText() {
        const auto units = m_input.ConsumeIntegralInRange<std::size_t>(0, kMaxTextUnits);
        auto& buffer = m_wide.emplace_back(std::make_unique<char16_t[]>(units));
        for (std::size_t i = 0; i < units; ++i) {
            buffer[i] = m_input.ConsumeIntegral<char16_t>();
        }
        return std::u16string_view(buffer.get(), units);
    }

    FuzzedDataProvider& m_input;
    std::vector<std::unique_ptr<char[]>> m_narrow;
    std::vector<std::unique_ptr<char16_t[]>> m_wide;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const bool wideFormat = input.ConsumeBool();
    Arguments arguments(input);
    const std::vector<venit::FormatArg> args = arguments.Make();
    const std::vector<std::uint8_t> rest = input.ConsumeRemainingBytes<std::uint8_t>();

    if (wideFormat) {
        auto format = std::make_unique<char16_t[]>(rest.size() / 2);
        for (std::size_t i = 0; i < rest.size() / 2; ++i) {
            format[i] = static_cast<char16_t>(rest[2 * i] | (rest[2 * i + 1] << 8));
        }
        static_cast<void>(venit::Format(std::u16string_view(format.get(), rest.size() / 2), args));
    } else {
        auto format = std::make_unique<char[]>(rest.size());
        std::copy(rest.begin(), rest.end(), format.get());
        static_cast<void>(venit::Format(std::string_view(format.get(), rest.size()), args));
    }
    return 0;
}
