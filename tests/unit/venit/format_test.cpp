#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "siblings/venit/format_arg.h"

namespace {

using venit::FormatArg;

template <typename Char>
struct Case {
    const Char* format;
    std::vector<FormatArg> args;
    std::basic_string<Char> expected;
};

template <typename Char>
void ExpectFormatted(const std::vector<Case<Char>>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::basic_string<Char>(c.format)));
        EXPECT_EQ(venit::Format(c.format, c.args), c.expected);
    }
}

const char* const kNullNarrow = nullptr;
const char16_t* const kNullWide = nullptr;
const double kInfinity = std::numeric_limits<double>::infinity();

TEST(Format, IntegersUseWindowsSizes) {
    ExpectFormatted<char>({
        {"%d", {42}, "42"},
        {"%i", {-7}, "-7"},
        {"%d", {0xC1030002u}, "-1056767998"},
        {"%u", {-1}, "4294967295"},
        {"%x", {-1}, "ffffffff"},
        {"%x", {std::int64_t{-1}}, "ffffffff"},
        {"%lu", {3000000000u}, "3000000000"},
        {"%ld", {0x100000001LL}, "1"},
        {"%lld", {-5000000000LL}, "-5000000000"},
        {"%I64x", {0x123456789ABCDEFULL}, "123456789abcdef"},
        {"%I32x", {0x123456789ABCDEFULL}, "89abcdef"},
        {"%zu", {SIZE_MAX}, "18446744073709551615"},
        {"%jd", {INT64_MIN}, "-9223372036854775808"},
        {"%td", {std::ptrdiff_t{-3}}, "-3"},
        {"%hd", {0xFFFF}, "-1"},
        {"%hu", {70000}, "4464"},
        {"%hhd", {255}, "-1"},
        {"%hhu", {257}, "1"},
        {"%d", {true}, "1"},
    });
}

TEST(Format, IntegerFlagsWidthAndPrecision) {
    ExpectFormatted<char>({
        {"0x%08x", {0xC1030002u}, "0xc1030002"},
        {"0x%08x", {0x1F}, "0x0000001f"},
        {"%04X", {0xAB}, "00AB"},
        {"%02X", {5}, "05"},
        {"%X", {0xabcdef}, "ABCDEF"},
        {"%o", {8}, "10"},
        {"%#o", {8}, "010"},
        {"%#x", {255}, "0xff"},
        {"%#X", {255}, "0XFF"},
        {"%#x", {0}, "0"},
        {"%+d", {5}, "+5"},
        {"% d", {5}, " 5"},
        {"%+u", {5}, "5"},
        {"%5d|", {42}, "   42|"},
        {"%-5d|", {42}, "42   |"},
        {"%05d", {-42}, "-0042"},
        {"%-05d|", {7}, "7    |"},
        {"%.3d", {7}, "007"},
        {"%8.3d|", {-7}, "    -007|"},
        {"%08.3d|", {7}, "     007|"},
        {"[%.0d]", {0}, "[]"},
        {"%*d", {6, 42}, "    42"},
        {"%*d|", {-4, 1}, "1   |"},
        {"%.*d", {3, 5}, "005"},
        {"%d%%", {50}, "50%"},
    });
}

TEST(Format, TextAndCharacters) {
    const std::string owned = "owned";
    ExpectFormatted<char>({
        {"%s", {"abc"}, "abc"},
        {"%hs", {"abc"}, "abc"},
        {"%s", {owned}, "owned"},
        {"%s", {std::string_view("viewed here").substr(0, 6)}, "viewed"},
        {"%ws", {u"wide"}, "wide"},
        {"%ls", {u"\u00e9t\u00e9"}, "\xC3\xA9t\xC3\xA9"},
        {"%S", {u"\U0001F600"}, "\xF0\x9F\x98\x80"},
        {"%s", {u"narrow format, wide text"}, "narrow format, wide text"},
        {"%ws", {"wide conversion, narrow text"}, "wide conversion, narrow text"},
        {"%ws", {u"\xD800!"}, "\xEF\xBF\xBD!"},
        {"%s", {kNullNarrow}, "(null)"},
        {"%ws", {kNullWide}, "(null)"},
        {"%10s|", {"hi"}, "        hi|"},
        {"%-4s|", {"hi"}, "hi  |"},
        {"%.2s", {"hello"}, "he"},
        {"[%.1s]", {"\xC3\xA9"}, "[]"},
        {"[%.1ws]", {u"\U0001F600"}, "[]"},
        {"%.*s", {3, "abcdef"}, "abc"},
        {"%c", {'A'}, "A"},
        {"%c", {0xE9}, "\xC3\xA9"},
        {"%C", {0x1F600}, "\xF0\x9F\x98\x80"},
        {"%c", {0xD800}, "\xEF\xBF\xBD"},
        {"%3c|", {'x'}, "  x|"},
    });
}

TEST(Format, PointersAndFloats) {
    int object = 0;
    const std::string address = venit::Format("%p", std::vector<FormatArg>{&object});
    ASSERT_EQ(address.size(), 16U);
    EXPECT_EQ(address.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    ExpectFormatted<char>({
        {"%p", {reinterpret_cast<void*>(0xabc123)}, "0000000000ABC123"},
        {"0x%p", {nullptr}, "0x0000000000000000"},
        {"%p", {255}, "00000000000000FF"},
        {"%f", {1.5}, "1.500000"},
        {"%.2f", {3.14159}, "3.14"},
        {"%e", {12345.678}, "1.234568e+04"},
        {"%E", {12345.678}, "1.234568E+04"},
        {"%g", {0.0001}, "0.0001"},
        {"%g", {0.00001}, "1e-05"},
        {"%g", {123456789.0}, "1.23457e+08"},
        {"%g", {100.0}, "100"},
        {"%G", {1e-10}, "1E-10"},
        {"%#g", {1.0}, "1.00000"},
        {"%#.0f", {3.0}, "3."},
        {"%+.1f", {2.0}, "+2.0"},
        {"%08.2f", {-3.5}, "-0003.50"},
        {"%5.1f|", {9.96}, " 10.0|"},
        {"%f", {kInfinity}, "inf"},
        {"%F", {-kInfinity}, "-INF"},
    });
}

TEST(Format, WrongKindsAreWrittenInTheirNaturalForm) {
    ExpectFormatted<char>({
        {"%d", {"text"}, "text"},
        {"%5d|", {"ab"}, "   ab|"},
        {"%s", {42}, "42"},
        {"%s", {0xC1030002u}, "3238199298"},
        {"%x", {1.5}, "1.5"},
        {"%f", {7}, "7"},
        {"%s", {reinterpret_cast<void*>(0x10)}, "0000000000000010"},
        {"%c", {"ab"}, "ab"},
        {"%d", {nullptr}, "0000000000000000"},
        {"%*d", {"not a width", 5}, "5"},
    });
}

TEST(Format, MissingArgumentsAndMalformedConversions) {
    ExpectFormatted<char>({
        {"%d and %s", {1}, "1 and (missing)"},
        {"%*d", {}, "(missing)"},
        {"no conversion", {1, 2}, "no conversion"},
        {"100%", {}, "100%"},
        {"%", {}, "%"},
        {"%5", {1}, "%5"},
        {"%-", {1}, "%-"},
        {"%I64", {1}, "%I64"},
        {"%q", {1}, "%q"},
        {"%n %d", {7}, "%n 7"},
        {"%1$s", {"x"}, "%1$s"},
        {"%hy%d", {3}, "%hy3"},
        {"\xC3\xA9%s", {"z"}, "\xC3\xA9z"},
        {"\xFF%s", {"z"}, "\xFFz"},
        {"%\xC3\xA9", {1}, "%\xC3\xA9"},
    });
}

TEST(Format, FieldsAreBounded) {
    EXPECT_EQ(venit::Format("%100000d", std::vector<FormatArg>{1}).size(), 4096U);
    EXPECT_EQ(venit::Format("%.100000d", std::vector<FormatArg>{1}).size(), 4096U);
    EXPECT_EQ(venit::Format("%99999999999999999999d", std::vector<FormatArg>{1}).size(), 4096U);
    EXPECT_EQ(venit::Format("%*d", std::vector<FormatArg>{INT_MIN, 1}).size(), 4096U);
}

TEST(Format, WideFormats) {
    ExpectFormatted<char16_t>({
        {u"%s", {u"wide"}, u"wide"},
        {u"%ws", {u"wide"}, u"wide"},
        {u"%ls", {u"wide"}, u"wide"},
        {u"%s", {"narrow"}, u"narrow"},
        {u"%hs", {"\xC3\xA9"}, u"\u00e9"},
        {u"%S", {"abc"}, u"abc"},
        {u"%s", {"\xFF"}, u"\uFFFD"},
        {u"%s", {kNullWide}, u"(null)"},
        {u"%hs", {kNullNarrow}, u"(null)"},
        {u"%d", {0xC1030002u}, u"-1056767998"},
        {u"0x%08x", {0xC1040008u}, u"0xc1040008"},
        {u"%p", {nullptr}, u"0000000000000000"},
        {u"%c", {0x1F600}, u"\U0001F600"},
        {u"[%.1s]", {u"\U0001F600"}, u"[]"},
        {u"[%-6s]", {u"ab"}, u"[ab    ]"},
        {u"%.1f", {0.25}, u"0.2"},
        {u"\U0001F600%s", {u"z"}, u"\U0001F600z"},
        {u"\xD800%s", {u"z"}, u"\xD800z"},
        {u"%d %d", {1}, u"1 (missing)"},
        {u"%q", {1}, u"%q"},
        {u"%\U0001F600", {1}, u"%\U0001F600"},
        {u"50%", {}, u"50%"},
    });
}

}  // namespace
