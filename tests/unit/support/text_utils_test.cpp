#include "support/text_utils.h"

#include <gtest/gtest.h>

#include <pthread.h>

#include <locale>
#include <optional>
#include <stdexcept>
#include <string>

#include "interfaces/hvx_types.h"

namespace hvx {
namespace {

using namespace std::string_literals;

// Which sequences are ill-formed is the platform converter's rule (tests/unit/platform); here,
// what Utf8ToWide makes of its answer: the text up to the first zero byte is converted, or
// E_INVALIDARG leaves the output as it was.
TEST(TextUtils, Utf8ToWideConvertsValidTextAndRejectsTheRestLeavingTheOutput) {
    const struct {
        std::string utf8;
        std::optional<std::u16string> wide;  // nothing: rejected
    } cases[] = {{"agent", u"agent"},
                 {"", u""},
                 {"\xF0\x9F\x98\x80", u"\U0001F600"},
                 {"ab\0cd"s, u"ab"},
                 {"ok\0\xFF"s, u"ok"},
                 {"ab\xC3", std::nullopt},
                 {"\xFF\0ok"s, std::nullopt}};
    for (const auto& c : cases) {
        std::u16string out = u"previous";
        EXPECT_EQ(Utf8ToWide(c.utf8, out), c.wide ? S_OK : E_INVALIDARG) << c.utf8;
        EXPECT_EQ(out, c.wide.value_or(u"previous"));
    }
}

// Text up to the first zero; a lone surrogate becomes U+FFFD.
TEST(TextUtils, WideToUtf8) {
    const struct {
        std::u16string wide;
        std::string utf8;
    } cases[] = {{u"agent", "agent"},
                 {u"", ""},
                 {u"\U0001F600", "\xF0\x9F\x98\x80"},
                 {u"ab\0cd"s, "ab"},
                 {u"a\xD800z", "a\xEF\xBF\xBDz"}};
    for (const auto& c : cases) {
        std::string out = "previous";
        EXPECT_EQ(WideToUtf8(c.wide, out), S_OK);
        EXPECT_EQ(out, c.utf8);
    }
}

TEST(TextUtils, UrlEncodeKeepsOnlyLettersAndDigits) {
    struct Case {
        std::u16string text;
        std::string encoded;
    };
    const Case cases[] = {
        {u"AZaz09", "AZaz09"},       {u" ", "%20"},     {u"\u00E9", "%C3%A9"},
        {u"-_.~", "%2D%5F%2E%7E"},   {u"a b", "a%20b"}, {u"1&2", "1%262"},
        {u"k=v/x?", "k%3Dv%2Fx%3F"}, {u"", ""},
    };
    for (const auto& c : cases) {
        std::string out = "previous";
        EXPECT_EQ(UrlEncode(c.text, out), S_OK);
        EXPECT_EQ(out, c.encoded);
    }
}

TEST(TextUtils, UrlEncodeWGivesWideText) {
    std::u16string out;
    EXPECT_EQ(UrlEncodeW(u"policy file.xml", out), S_OK);
    EXPECT_EQ(out, u"policy%20file%2Exml");
}

struct ValidatorCase {
    std::u16string text;
    bool valid;
};

template <std::size_t N>
void ExpectAnswers(bool (*validator)(const std::u16string&), const ValidatorCase (&cases)[N]) {
    for (const auto& c : cases) {
        EXPECT_EQ(validator(c.text), c.valid) << ::testing::PrintToString(c.text);
    }
}

// Each part of the URL rule in turn: scheme, optional s, "://", the host's first character, the
// host run, the slash that ends it, and the rest of the line.
TEST(TextUtils, IsValidUrlTakesEachPartOfTheRule) {
    // clang-format off
    const ValidatorCase cases[] = {
        {u"http://h/", true}, {u"HTTP://H/", true}, {u"hTtP://h/", true}, {u"xttp://h/", false},
        {u"hxtp://h/", false}, {u"htxp://h/", false}, {u"httx://h/", false}, {u"htp://h/", false},
        {u"http", false}, {u"", false}, {u" http://h/", false},
        // optional s
        {u"https://h/", true}, {u"httpS://h/", true}, {u"httpss://h/", false},
        {u"httpx://h/", false},
        // "://"
        {u"http//h/", false}, {u"http:/h/", false}, {u"http:h/", false}, {u"http;//h/", false},
        {u"http:\\\\h/", false}, {u"http:///h/", false},
        // the host's first character: an ASCII letter or digit
        {u"http://a/", true}, {u"http://z/", true}, {u"http://A/", true}, {u"http://Z/", true},
        {u"http://0/", true}, {u"http://9/", true}, {u"http://@/", false}, {u"http://[/", false},
        {u"http://`/", false}, {u"http://{/", false}, {u"http://-/", false}, {u"http://_/", false},
        {u"http://:/", false}, {u"http://./", false}, {u"http://", false},
        {u"http://\u00E9/", false}, {u"http://\uFF21/", false},
        // the host run: letters, digits and "-_:./", up to a slash
        {u"http://h-_:.0zZ/", true}, {u"http://h:8443/", true}, {u"http://h//", true},
        {u"http://h", false}, {u"http://host:8443", false}, {u"http://h?/", false},
        {u"http://h@x/", false}, {u"http://h x/", false}, {u"http://h\u00E9/", false},
        {u"http://h\\x/", false}, {u"http://h?x/y", false},
        // the rest of the line: anything but LF, CR, U+2028 and U+2029
        {u"http://h/?q=1&r=2 \u00E9\U0001F600\t\0x"s, true}, {u"http://h/a/b\u0085", true},
        {u"http://h/a\nb", false}, {u"http://h/a\r", false}, {u"http://h/\u2028", false},
        {u"http://h/\u2029", false}, {u"http://h\n/", false}};
    // clang-format on
    ExpectAnswers(IsValidUrl, cases);
}

// Each group's length, its first character, the hyphens between the groups, and the class.
TEST(TextUtils, IsValidGuidTakesEachGroupAndHyphen) {
    const std::u16string guid = u"6F9619FF-8B86-D011-B42D-00C04FC964FF";
    // `guid` with `count` units from `pos` replaced by `by`.
    const auto edited = [&guid](std::size_t pos, std::size_t count, const char16_t* by) {
        return std::u16string(guid).replace(pos, count, by);
    };
    // clang-format off
    const ValidatorCase cases[] = {
        {guid, true}, {u"6f9619ff-8b86-d011-b42d-00c04fc964ff", true},
        {u"09afAF09-aFAf-0000-9999-abcdefABCDEF", true},
        // a group one short, one long, or missing
        {edited(7, 1, u""), false}, {edited(12, 1, u""), false}, {edited(17, 1, u""), false},
        {edited(22, 1, u""), false}, {edited(35, 1, u""), false}, {edited(8, 1, u"0-"), false},
        {edited(23, 2, u"0-"), false}, {edited(19, 5, u""), false},
        // a non-digit as the first character of each group, and in the last place
        {edited(0, 1, u"g"), false}, {edited(9, 1, u"@"), false}, {edited(14, 1, u"`"), false},
        {edited(19, 1, u"/"), false}, {edited(24, 1, u":"), false},
        {edited(35, 1, u"G"), false}, {edited(35, 1, u"\uFF21"), false},
        // the hyphens
        {edited(8, 1, u"_"), false}, {edited(13, 1, u" "), false}, {edited(18, 1, u"0"), false},
        {edited(23, 1, u"\u2010"), false},
        // nothing around it
        {u"{" + guid + u"}", false}, {u" " + guid, false}, {guid + u"x", false},
        {guid + u"\n", false}, {u"", false}};
    // clang-format on
    ExpectAnswers(IsValidGuid, cases);
}

// Letters that fold to ASCII ones in a UTF-8 locale (Kelvin sign, long s, dotted and dotless i)
// are not ASCII letters.
TEST(TextUtils, ValidatorLetterClassesAreAsciiWhateverTheLocale) {
    std::optional<std::locale> utf8;
    try {
        utf8.emplace("C.UTF-8");
    } catch (const std::runtime_error&) {
        GTEST_SKIP() << "no C.UTF-8 locale";
    }
    const std::locale previous = std::locale::global(*utf8);
    const ValidatorCase urls[] = {{u"http://\u212A/", false},  {u"http://a\u017F/", false},
                                  {u"http://\u0130/", false},  {u"http://a\u0131/", false},
                                  {u"http\u017F://h/", false}, {u"http://k/", true}};
    ExpectAnswers(IsValidUrl, urls);
    EXPECT_FALSE(IsValidGuid(u"6F9619FF-8B86-D011-B42D-00C04FC964F\u212A"));
    std::locale::global(previous);
}

// A megabyte of text goes through in one pass, on a thread with a 256 KiB stack (a quarter of a
// Windows thread's default): no recursion per character.
TEST(TextUtils, ValidatorsTakeAMegabyteOnASmallStack) {
    static const std::u16string kRun(std::size_t{1} << 20U, u'a');
    static bool answers[4] = {false, true, true, true};
    const auto check = [](void* /*unused*/) -> void* {
        answers[0] = IsValidUrl(u"http://127.0.0.1:9/" + kRun);
        answers[1] = IsValidUrl(u"http://127.0.0.1:9/" + kRun + u"\n");
        answers[2] = IsValidUrl(u"http://" + kRun);
        answers[3] = IsValidGuid(kRun);
        return nullptr;
    };
    pthread_attr_t attributes;
    pthread_t thread{};
    ASSERT_EQ(pthread_attr_init(&attributes), 0);
    EXPECT_EQ(pthread_attr_setstacksize(&attributes, std::size_t{256} * 1024), 0);
    const bool started = pthread_create(&thread, &attributes, check, nullptr) == 0;
    pthread_attr_destroy(&attributes);
    ASSERT_TRUE(started && pthread_join(thread, nullptr) == 0);
    EXPECT_TRUE(answers[0]);
    EXPECT_FALSE(answers[1] || answers[2] || answers[3]);
}

}  // namespace
}  // namespace hvx
