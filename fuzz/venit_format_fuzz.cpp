// Feeds the type-checked formatter hostile formats with arguments of every kind. Text
// arguments sit in buffers of exactly their length, without a terminating zero, so a read
// past the end of one is caught by the address sanitizer.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "siblings/venit/format_arg.h"

namespace {

constexpr std::size_t kMaxArguments = 8;
constexpr std::size_t kMaxTextUnits = 64;

enum class ArgumentKind : std::uint8_t {
    Int32,
    Int64,
    UInt32,
    UInt64,
    Char,
    Short,
    Double,
    Pointer,
    NullPointer,
    NarrowText,
    WideText,
    NullNarrow,
    NullWide,
    kMaxValue = NullWide,
};

// Owns the argument texts for the length of one run.
class Arguments {
public:
    explicit Arguments(FuzzedDataProvider& input) : m_input(input) {}

    std::vector<venit::FormatArg> Make() {
        std::vector<venit::FormatArg> args;
        const std::size_t count = m_input.ConsumeIntegralInRange<std::size_t>(0, kMaxArguments);
        for (std::size_t i = 0; i < count; ++i) {
            args.push_back(MakeOne(m_input.ConsumeEnum<ArgumentKind>()));
        }
        return args;
    }

private:
    venit::FormatArg MakeOne(ArgumentKind kind) {
        switch (kind) {
            case ArgumentKind::Int32:
                return m_input.ConsumeIntegral<std::int32_t>();
            case ArgumentKind::Int64:
                return m_input.ConsumeIntegral<std::int64_t>();
            case ArgumentKind::UInt32:
                return m_input.ConsumeIntegral<std::uint32_t>();
            case ArgumentKind::UInt64:
                return m_input.ConsumeIntegral<std::uint64_t>();
            case ArgumentKind::Char:
                return m_input.ConsumeIntegral<char>();
            case ArgumentKind::Short:
                return m_input.ConsumeIntegral<std::int16_t>();
            case ArgumentKind::Double:
                return m_input.ConsumeFloatingPoint<double>();
            case ArgumentKind::Pointer:
                return reinterpret_cast<const void*>(m_input.ConsumeIntegral<std::uintptr_t>());
            case ArgumentKind::NullPointer:
                return nullptr;
            case ArgumentKind::NarrowText:
                return NarrowText();
            case ArgumentKind::WideText:
                return WideText();
            case ArgumentKind::NullNarrow:
                return static_cast<const char*>(nullptr);
            case ArgumentKind::NullWide:
                return static_cast<const char16_t*>(nullptr);
        }
        return 0;
    }

    venit::FormatArg NarrowText() {
        const std::string bytes = m_input.ConsumeRandomLengthString(kMaxTextUnits);
        auto& buffer = m_narrow.emplace_back(std::make_unique<char[]>(bytes.size()));
        std::copy(bytes.begin(), bytes.end(), buffer.get());
        return std::string_view(buffer.get(), bytes.size());
    }

    venit::FormatArg WideText() {
        const std::size_t units = m_input.ConsumeIntegralInRange<std::size_t>(0, kMaxTextUnits);
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
