#include "siblings/venit/format_spec.h"

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
void ReadFlags(FormatReader<CharT>& reader, ConversionSpec& spec) {
    for (;;) {
        if (reader.Accept('-')) {
            spec.leftAlign = true;
        } else if (reader.Accept('+')) {
            spec.plusSign = true;
        } else if (reader.Accept(' ')) {
            spec.blankSign = true;
        } else if (reader.Accept('0')) {
            spec.zeroPad = true;
        } else if (reader.Accept('#')) {
            spec.alternate = true;
        } else {
            return;
        }
    }
}

template <typename CharT>
void ReadWidthAndPrecision(FormatReader<CharT>& reader, ConversionSpec& spec) {
    if (reader.Accept('*')) {
        spec.widthFromArg = true;
    } else {
        spec.width = reader.ReadNumber(kMaxField);
    }
    if (!reader.Accept('.')) {
        return;
    }
    if (reader.Accept('*')) {
        spec.precisionFromArg = true;
    } else {
        // Text precision only shortens, so it is not held to kMaxField.
        spec.precision = reader.ReadNumber(INT_MAX);
    }
}

template <typename CharT>
void ReadLengthModifier(FormatReader<CharT>& reader, ConversionSpec& spec) {
    if (reader.AcceptPair('h', 'h')) {
        spec.intSize = IntSize::Char;
    } else if (reader.Accept('h')) {
        spec.intSize = IntSize::Short;
    } else if (reader.AcceptPair('l', 'l') || reader.Accept('z') || reader.Accept('j') ||
               reader.Accept('t')) {
        spec.intSize = IntSize::Long64;
    } else if (reader.Accept('I')) {
        // "I32" is 32 bits; "I64" and a bare "I" (pointer-sized) are 64.
        const bool is32 = reader.AcceptPair('3', '2');
        if (!is32) {
            static_cast<void>(reader.AcceptPair('6', '4'));
        }
        spec.intSize = is32 ? IntSize::Default : IntSize::Long64;
    } else {
        // "l", "L" and "w" change nothing here: long is 32 bits, and text and characters carry
        // their own width.
        static_cast<void>(reader.Accept('l') || reader.Accept('L') || reader.Accept('w'));
    }
}

bool ClassifyConversion(unsigned letter, ConversionSpec& spec) {
    switch (letter) {
        case 's':
        case 'S':
            spec.conversion = Conversion::Text;
            break;
        case 'c':
        case 'C':
            spec.conversion = Conversion::Character;
            break;
        case 'd':
        case 'i':
            spec.conversion = Conversion::Signed;
            break;
        case 'u':
            spec.conversion = Conversion::Unsigned;
            break;
        case 'o':
            spec.conversion = Conversion::Octal;
            break;
        case 'x':
            spec.conversion = Conversion::Hex;
            break;
        case 'X':
            spec.conversion = Conversion::HexUpper;
            break;
        case 'p':
            spec.conversion = Conversion::Pointer;
            break;
        case 'e':
        case 'E':
        case 'f':
        case 'F':
        case 'g':
        case 'G':
            spec.conversion = Conversion::Float;
            break;
        case '%':
            spec.conversion = Conversion::Percent;
            break;
        default:
            return false;
    }
    spec.letter = static_cast<char>(letter);
    return true;
}

template <typename CharT>
ConversionSpec Parse(std::basic_string_view<CharT> format, std::size_t start) {
    ConversionSpec spec;
    FormatReader<CharT> reader(format, start + 1);
    ReadFlags(reader, spec);
    ReadWidthAndPrecision(reader, spec);
    ReadLengthModifier(reader, spec);
    if (reader.AtEnd()) {
        spec.end = format.size();
        return spec;
    }
    spec.valid = ClassifyConversion(reader.Peek(), spec);
    reader.Skip();
    spec.end = reader.Position();
    return spec;
}

}  // namespace

ConversionSpec ParseConversion(std::string_view format, std::size_t start) {
    return Parse(format, start);
}

ConversionSpec ParseConversion(std::u16string_view format, std::size_t start) {
    return Parse(format, start);
}

}  // namespace venit::detail
