#include "siblings/venit/format_directive.h"

#include <algorithm>
#include <climits>
#include <type_traits>

namespace venit::detail {
namespace {

// Reads a format one unit at a time as an unsigned code, so a UTF-8 byte or UTF-16 unit above
// 0x7F never looks like an ASCII format character.
template <typename CharT>
class FormatReader {
public:
    FormatReader(std::basic_string_view<CharT> format, std::size_t position)
        : m_format(format), m_position(position) {}

    bool AtEnd() const { return m_position >= m_format.size(); }
    std::size_t Position() const { return m_position; }
    unsigned Peek() const { return UnitAt(m_position); }
    void Skip() { ++m_position; }
    bool Accept(unsigned ascii) {
        if (!AtEnd() && Peek() == ascii) {
            ++m_position;
            return true;
        }
        return false;
    }
    bool AcceptPair(unsigned first, unsigned second) {
        if (UnitAt(m_position) == first && UnitAt(m_position + 1) == second) {
            m_position += 2;
            return true;
        }
        return false;
    }
    bool PeekDigit() const { return Peek() >= '0' && Peek() <= '9'; }
    // A run of decimal digits, saturating at `limit`.
    int ReadNumber(int limit) {
        long long value = 0;
        while (!AtEnd() && PeekDigit()) {
            value = std::min<long long>(value * 10 + (Peek() - '0'), limit);
            Skip();
        }
        return static_cast<int>(value);
    }

private:
    // 0 past the end, which is never one of the ASCII characters asked for.
    unsigned UnitAt(std::size_t index) const {
        return index < m_format.size() ? static_cast<std::make_unsigned_t<CharT>>(m_format[index])
                                       : 0U;
    }

    std::basic_string_view<CharT> m_format;
    std::size_t m_position;
};

template <typename CharT>
void ReadFlags(FormatReader<CharT>& reader, Directive& directive) {
    for (;;) {
        if (reader.Accept('-')) {
            directive.leftAlign = true;
        } else if (reader.Accept('+')) {
            directive.plusSign = true;
        } else if (reader.Accept(' ')) {
            directive.blankSign = true;
        } else if (reader.Accept('0')) {
            directive.zeroPad = true;
        } else if (reader.Accept('#')) {
            directive.alternate = true;
        } else {
            return;
        }
    }
}

template <typename CharT>
void ReadWidthAndPrecision(FormatReader<CharT>& reader, Directive& directive) {
    if (reader.Accept('*')) {
        directive.widthFromArg = true;
    } else {
        directive.width = reader.ReadNumber(kMaxField);
    }
    if (!reader.Accept('.')) {
        return;
    }
    if (reader.Accept('*')) {
        directive.precisionFromArg = true;
    } else {
        // Text precision only shortens, so it is not held to kMaxField.
        directive.precision = reader.ReadNumber(INT_MAX);
    }
}

template <typename CharT>
void ReadLengthModifier(FormatReader<CharT>& reader, Directive& directive) {
    if (reader.AcceptPair('h', 'h')) {
        directive.intSize = IntSize::Char;
    } else if (reader.Accept('h')) {
        directive.intSize = IntSize::Short;
    } else if (reader.AcceptPair('l', 'l') || reader.Accept('z') || reader.Accept('j') ||
               reader.Accept('t')) {
        directive.intSize = IntSize::Long64;
    } else if (reader.Accept('I')) {
        // "I32" is 32 bits; "I64" and a bare "I" (pointer-sized) are 64.
        const bool is32 = reader.AcceptPair('3', '2');
        if (!is32) {
            static_cast<void>(reader.AcceptPair('6', '4'));
        }
        directive.intSize = is32 ? IntSize::Default : IntSize::Long64;
    } else {
        // "l", "L" and "w" change nothing here: long is 32 bits, and text and characters carry
        // their own width.
        static_cast<void>(reader.Accept('l') || reader.Accept('L') || reader.Accept('w'));
    }
}

bool ClassifyConversion(unsigned letter, Directive& directive) {
    switch (letter) {
        case 's':
        case 'S':
            directive.conversion = Conversion::Text;
            break;
        case 'c':
        case 'C':
            directive.conversion = Conversion::Character;
            break;
        case 'd':
        case 'i':
            directive.conversion = Conversion::Signed;
            break;
        case 'u':
            directive.conversion = Conversion::Unsigned;
            break;
        case 'o':
            directive.conversion = Conversion::Octal;
            break;
        case 'x':
            directive.conversion = Conversion::Hex;
            break;
        case 'X':
            directive.conversion = Conversion::HexUpper;
            break;
        case 'p':
            directive.conversion = Conversion::Pointer;
            break;
        case 'e':
        case 'E':
        case 'f':
        case 'F':
        case 'g':
        case 'G':
            directive.conversion = Conversion::Float;
            break;
        case '%':
            directive.conversion = Conversion::Percent;
            break;
        default:
            return false;
    }
    directive.letter = static_cast<char>(letter);
    return true;
}

template <typename CharT>
Directive Parse(std::basic_string_view<CharT> format, std::size_t start) {
    Directive directive;
    FormatReader<CharT> reader(format, start + 1);
    ReadFlags(reader, directive);
    ReadWidthAndPrecision(reader, directive);
    ReadLengthModifier(reader, directive);
    if (reader.AtEnd()) {
        directive.end = format.size();
        return directive;
    }
    directive.valid = ClassifyConversion(reader.Peek(), directive);
    reader.Skip();
    directive.end = reader.Position();
    return directive;
}

}  // namespace

Directive ParseConversion(std::string_view format, std::size_t start) {
    return Parse(format, start);
}

Directive ParseConversion(std::u16string_view format, std::size_t start) {
    return Parse(format, start);
}

}  // namespace venit::detail
