// UTF-8 / UTF-16 conversion with the CP_UTF8 rules of the Win32 converters.
#include "platform/text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/last_error.h"
#include "tests/unit/platform/fails_with.h"

namespace hvx::os {
namespace {

using namespace std::string_literals;

template <typename Text>
struct Outcome {
    int result;
    DWORD error;
    Text text;
};

// Asks `convert(buffer, size)` for the length, then converts into a buffer of exactly that size.
template <typename Text, typename Convert>
Outcome<Text> Measured(Convert convert) {
    SetLastError(ERROR_SUCCESS);
    const int length = convert(nullptr, 0);
    if (length == 0) {
        return {0, GetLastError(), {}};
    }
    Text out(static_cast<std::size_t>(length), '?');
    const int written = convert(out.data(), length);
    return {written, GetLastError(), out};
}

Outcome<std::u16string> Decode(const std::string& input, DWORD flags) {
    return Measured<std::u16string>([&](char16_t* out, int length) {
        return MultiByteToWideChar(CP_UTF8, flags, input.data(), static_cast<int>(input.size()),
                                   out, length);
    });
}

Outcome<std::string> Encode(const std::u16string& input, DWORD flags) {
    return Measured<std::string>([&](char* out, int length) {
        return WideCharToMultiByte(CP_UTF8, flags, input.data(), static_cast<int>(input.size()),
                                   out, length, nullptr, nullptr);
    });
}

// Without flags each ill-formed part is written as U+FFFD; with the error flag the whole input
// is rejected.
template <typename Text>
void ExpectReplacedOrRejected(const Outcome<Text>& lenient, const Outcome<Text>& strict,
                              const Text& expected, bool valid) {
    EXPECT_EQ(lenient.result, static_cast<int>(expected.size()));
    EXPECT_EQ(lenient.text, expected);
    if (valid) {
        EXPECT_EQ(strict.text, expected);
    } else {
        EXPECT_EQ(strict.result, 0);
        EXPECT_EQ(strict.error, static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    }
}

struct DecodeCase {
    const char* name;
    std::string input;
    std::u16string lenient;  // without MB_ERR_INVALID_CHARS
    bool valid;              // accepted with MB_ERR_INVALID_CHARS
};

class PlatformUtf8Decoding : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(PlatformUtf8Decoding, ReplacesOrRejectsIllFormedInput) {
    const DecodeCase& c = GetParam();
    ExpectReplacedOrRejected(Decode(c.input, 0), Decode(c.input, MB_ERR_INVALID_CHARS), c.lenient,
                             c.valid);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlatformUtf8Decoding,
    ::testing::Values(
        DecodeCase{"Ascii", "abc", u"abc", true},
        DecodeCase{"TwoBytes", "\xC3\xA9", u"\u00E9", true},
        DecodeCase{"ThreeBytes", "\xE2\x82\xAC", u"\u20AC", true},
        DecodeCase{"FourBytesBecomeAPair", "\xF0\x9F\x98\x80", u"\U0001F600", true},
        DecodeCase{"HighestCodePoint", "\xF4\x8F\xBF\xBF", u"\U0010FFFF", true},
        DecodeCase{"EmbeddedZero", "a\0b"s, u"a\0b"s, true},
        DecodeCase{"OverlongTwoBytes", "\xC0\xAF", u"\uFFFD\uFFFD", false},
        DecodeCase{"OverlongThreeBytes", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD", false},
        DecodeCase{"OverlongFourBytes", "\xF0\x80\x80\xAF", u"\uFFFD\uFFFD\uFFFD\uFFFD", false},
        DecodeCase{"EncodedSurrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", false},
        DecodeCase{"AboveHighest", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", false},
        DecodeCase{"LeadByteF5", "\xF5\x80", u"\uFFFD\uFFFD", false},
        DecodeCase{"TruncatedAtEnd", "a\xE2\x82", u"a\uFFFD", false},
        DecodeCase{"TruncatedBeforeAscii", "\xF0\x9F\x98z", u"\uFFFDz", false},
        DecodeCase{"StrayContinuation", "a\x80z", u"a\uFFFDz", false}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

struct EncodeCase {
    const char* name;
    std::u16string input;
    std::string lenient;  // without WC_ERR_INVALID_CHARS
    bool valid;           // accepted with WC_ERR_INVALID_CHARS
};

class PlatformUtf16Encoding : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(PlatformUtf16Encoding, ReplacesOrRejectsLoneSurrogates) {
    const EncodeCase& c = GetParam();
    ExpectReplacedOrRejected(Encode(c.input, 0), Encode(c.input, WC_ERR_INVALID_CHARS), c.lenient,
                             c.valid);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlatformUtf16Encoding,
    ::testing::Values(EncodeCase{"Ascii", u"abc", "abc", true},
                      EncodeCase{"TwoBytes", u"\u00E9", "\xC3\xA9", true},
                      EncodeCase{"ThreeBytes", u"\u20AC", "\xE2\x82\xAC", true},
                      EncodeCase{"Pair", u"\U0001F600", "\xF0\x9F\x98\x80", true},
                      EncodeCase{"EmbeddedZero", u"a\0b"s, "a\0b"s, true},
                      EncodeCase{"LoneHighAtEnd", u"a\xD83D", "a\xEF\xBF\xBD", false},
                      EncodeCase{"LoneHighBeforeAscii", u"\xD83Dz", "\xEF\xBF\xBDz", false},
                      EncodeCase{"LoneLow", u"\xDE00", "\xEF\xBF\xBD", false},
                      EncodeCase{"ReversedPair", u"\xDE00\xD83D", "\xEF\xBF\xBD\xEF\xBF\xBD",
                                 false}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(PlatformText, MinusOneStopsAfterTheFirstZeroAndCountsIt) {
    const char input[] = "h\xC3\xA9\0tail";
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, input, -1, nullptr, 0), 3);
    std::vector<char16_t> wide(8, u'?');
    ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, input, -1, wide.data(), 8), 3);
    EXPECT_EQ(std::u16string(wide.data(), 4), u"h\u00E9\0?"s);

    const char16_t source[] = u"h\u00E9\0tail";
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, source, -1, nullptr, 0, nullptr, nullptr), 4);
    std::vector<char> narrow(8, '?');
    ASSERT_EQ(WideCharToMultiByte(CP_UTF8, 0, source, -1, narrow.data(), 8, nullptr, nullptr), 4);
    EXPECT_EQ(std::string(narrow.data(), 5), "h\xC3\xA9\0?"s);
}

TEST(PlatformText, TooSmallBufferFails) {
    std::vector<char16_t> wide(2);
    EXPECT_TRUE(FailsWith(ERROR_INSUFFICIENT_BUFFER, [&] {
        return MultiByteToWideChar(CP_UTF8, 0, "abc", 3, wide.data(), 2);
    }));
    // Room for the first half of a pair only.
    EXPECT_TRUE(FailsWith(ERROR_INSUFFICIENT_BUFFER, [&] {
        return MultiByteToWideChar(CP_UTF8, 0, "\xF0\x9F\x98\x80", 4, wide.data(), 1);
    }));

    std::vector<char> narrow(3);
    EXPECT_TRUE(FailsWith(ERROR_INSUFFICIENT_BUFFER, [&] {
        return WideCharToMultiByte(CP_UTF8, 0, u"abcd", 4, narrow.data(), 3, nullptr, nullptr);
    }));
    EXPECT_TRUE(FailsWith(ERROR_INSUFFICIENT_BUFFER, [&] {
        return WideCharToMultiByte(CP_UTF8, 0, u"\U0001F600", 2, narrow.data(), 3, nullptr,
                                   nullptr);
    }));
}

struct BadCall {
    const char* name;
    UINT codePage;
    DWORD flags;
    int srcLen;
    bool nullSource;
    int dstLen;  // with a null destination
    bool defaultChar;
    DWORD error;
};

class PlatformTextArguments : public ::testing::TestWithParam<BadCall> {};

TEST_P(PlatformTextArguments, AreRefusedInBothDirections) {
    const BadCall& call = GetParam();
    const char* narrow = call.nullSource ? nullptr : "abc";
    const char16_t* wide = call.nullSource ? nullptr : u"abc";
    if (!call.defaultChar) {
        EXPECT_TRUE(FailsWith(call.error, [&] {
            return MultiByteToWideChar(call.codePage, call.flags, narrow, call.srcLen, nullptr,
                                       call.dstLen);
        }));
    }
    BOOL used = FALSE;
    EXPECT_TRUE(FailsWith(call.error, [&] {
        return WideCharToMultiByte(call.codePage, call.flags, wide, call.srcLen, nullptr,
                                   call.dstLen, nullptr, call.defaultChar ? &used : nullptr);
    }));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlatformTextArguments,
    ::testing::Values(
        BadCall{"OtherCodePage", 1252, 0, 3, false, 0, false, ERROR_INVALID_PARAMETER},
        BadCall{"ZeroLength", CP_UTF8, 0, 0, false, 0, false, ERROR_INVALID_PARAMETER},
        BadCall{"LengthBelowMinusOne", CP_UTF8, 0, -2, false, 0, false, ERROR_INVALID_PARAMETER},
        BadCall{"NullSource", CP_UTF8, 0, 3, true, 0, false, ERROR_INVALID_PARAMETER},
        BadCall{"NullDestinationWithRoom", CP_UTF8, 0, 3, false, 4, false, ERROR_INVALID_PARAMETER},
        BadCall{"UnknownFlag", CP_UTF8, 0x1, 3, false, 0, false, ERROR_INVALID_FLAGS},
        BadCall{"UsedDefaultCharGiven", CP_UTF8, 0, 3, false, 0, true, ERROR_INVALID_PARAMETER}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

}  // namespace
}  // namespace hvx::os
