#include <algorithm>
#include <climits>

#include "siblings/venit/format_arg.h"
#include "siblings/venit/format_directive.h"
#include "siblings/venit/format_number.h"
#include "siblings/venit/format_text.h"

namespace venit {
namespace {

using detail::Conversion;
using detail::Directive;

constexpr std::string_view kMissingArgument = "(missing)";

bool IsInteger(FormatArg::Kind kind) {
    return kind == FormatArg::Kind::Signed || kind == FormatArg::Kind::Unsigned;
}

bool IsText(FormatArg::Kind kind) {
    return kind == FormatArg::Kind::Narrow || kind == FormatArg::Kind::Wide;
}

// Whether an argument of this kind is what the conversion reads. Integers also fit %p, which
// on Windows reads a pointer-sized integer.
bool Fits(Conversion conversion, FormatArg::Kind kind) {
    switch (conversion) {
        case Conversion::Text:
            return IsText(kind);
        case Conversion::Float:
            return kind == FormatArg::Kind::Double;
        case Conversion::Pointer:
            return kind == FormatArg::Kind::Pointer || IsInteger(kind);
        default:
            return IsInteger(kind);
    }
}

// A '*' argument as a number: integers only, clamped to the int range.
long long StarValue(const FormatArg* arg) {
    if (arg == nullptr || !IsInteger(arg->kind())) {
        return 0;
    }
    if (arg->kind() == FormatArg::Kind::Unsigned) {
        return static_cast<long long>(std::min<std::uint64_t>(arg->unsignedValue(), INT_MAX));
    }
    return std::clamp<long long>(arg->signedValue(), -INT_MAX, INT_MAX);
}

void AppendAscii(std::string& out, std::string_view ascii) {
    out.append(ascii);
}

void AppendAscii(std::u16string& out, std::string_view ascii) {
    out.append(ascii.begin(), ascii.end());
}

template <typename CharT>
class Formatter {
public:
    explicit Formatter(FormatArgs args) : m_args(args) {}

    std::basic_string<CharT> Run(std::basic_string_view<CharT> format) {
        std::size_t position = 0;
        while (position < format.size()) {
            const std::size_t percent = format.find(CharT{'%'}, position);
            if (percent == std::basic_string_view<CharT>::npos) {
                m_out.append(format.substr(position));
                break;
            }
            m_out.append(format.substr(position, percent - position));
            Directive directive = detail::ParseConversion(format, percent);
            if (directive.valid) {
                TakeStarArguments(directive);
                Convert(directive);
            } else {
                m_out.append(format.substr(percent, directive.end - percent));
            }
            position = directive.end;
        }
        return std::move(m_out);
    }

private:
    const FormatArg* NextArgument() { return m_next < m_args.size() ? &m_args[m_next++] : nullptr; }

    void TakeStarArguments(Directive& directive) {
        if (directive.widthFromArg) {
            const long long width = StarValue(NextArgument());
            directive.leftAlign = directive.leftAlign || width < 0;
            directive.width =
                static_cast<int>(std::min<long long>(std::abs(width), detail::kMaxField));
        }
        if (directive.precisionFromArg) {
            const long long precision = StarValue(NextArgument());
            directive.precision = precision < 0 ? -1 : static_cast<int>(precision);
        }
    }

    void Convert(const Directive& directive) {
        if (directive.conversion == Conversion::Percent) {
            m_out.push_back(CharT{'%'});
            return;
        }
        std::basic_string<CharT> piece;
        const FormatArg* arg = NextArgument();
        if (arg == nullptr) {
            AppendAscii(piece, kMissingArgument);
        } else if (!Fits(directive.conversion, arg->kind())) {
            AppendNatural(piece, *arg);
        } else {
            AppendConverted(piece, directive, *arg);
        }
        AppendPadded(piece, directive);
    }

    static void AppendNatural(std::basic_string<CharT>& piece, const FormatArg& arg) {
        if (IsText(arg.kind())) {
            detail::AppendText(piece, arg, -1);
        } else {
            AppendAscii(piece, detail::FormatNaturalNumber(arg));
        }
    }

    static void AppendConverted(std::basic_string<CharT>& piece, const Directive& directive,
                                const FormatArg& arg) {
        switch (directive.conversion) {
            case Conversion::Text:
                detail::AppendText(piece, arg, directive.precision);
                break;
            case Conversion::Character:
                detail::AppendCharacter(piece, arg);
                break;
            case Conversion::Pointer:
                AppendAscii(piece, detail::FormatPointer(detail::RawBits(arg)));
                break;
            case Conversion::Float:
                AppendAscii(piece, detail::FormatFloat(directive, arg.doubleValue()));
                break;
            default:
                AppendAscii(piece, detail::FormatInteger(directive, arg));
                break;
        }
    }

    void AppendPadded(const std::basic_string<CharT>& piece, const Directive& directive) {
        const auto width = static_cast<std::size_t>(directive.width);
        const std::size_t fill = piece.size() < width ? width - piece.size() : 0;
        if (!directive.leftAlign) {
            m_out.append(fill, CharT{' '});
        }
        m_out.append(piece);
        if (directive.leftAlign) {
            m_out.append(fill, CharT{' '});
        }
    }

    FormatArgs m_args;
    std::size_t m_next = 0;
    std::basic_string<CharT> m_out;
};

}  // namespace

std::string Format(std::string_view format, FormatArgs args) {
    return Formatter<char>(args).Run(format);
}

std::u16string Format(std::u16string_view format, FormatArgs args) {
    return Formatter<char16_t>(args).Run(format);
}

}  // namespace venit
