#include "support/text_utils.h"

#include <gtest/gtest.h>

#include <pthread.h>

#include <initializer_list>
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

// UrlEncodeW gives the same text, wide.
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
        std::u16string wide = u"previous";
        EXPECT_EQ(UrlEncode(c.text, out), S_OK);
        EXPECT_EQ(out, c.encoded);
        EXPECT_EQ(UrlEncodeW(c.text, wide), S_OK);
        EXPECT_EQ(wide, std::u16string(c.encoded.begin(), c.encoded.end()));
    }
}

using Validator = bool (*)(const std::u16string&);

void ExpectAnswers(Validator validator, std::initializer_list<std::u16string> accepted,
                   std::initializer_list<std::u16string> rejected) {
    for (const auto& text : accepted) {
        EXPECT_TRUE(validator(text)) << ::testing::PrintToString(text);
    }
    for (const auto& text : rejected) {
        EXPECT_FALSE(validator(text)) << ::testing::PrintToString(text);
    }
}

// Each part of the URL rule in turn: scheme, optional s, "://", the host's first character (an
// ASCII letter or digit), the host run (letters, digits and "-_:./") with the slash that ends
// it, and the rest of the line (anything but LF, CR, U+2028 and U+2029).
TEST(TextUtils, IsValidUrlTakesEachPartOfTheRule) {
    // clang-format off
    ExpectAnswers(IsValidUrl, {
        u"http://h/", u"HTTP://H/", u"hTtP://h/", u"https://h/", u"httpS://h/",
        u"http://a/", u"http://z/", u"http://A/", u"http://Z/", u"http://0/", u"http://9/",
        u"http://h-_:.0zZ/", u"http://h:8443/", u"http://h//",
        u"http://h/?q=1&r=2 \u00E9\U0001F600\t\0x"s, u"http://h/a/b\u0085",
    }, {
        u"xttp://h/", u"hxtp://h/", u"htxp://h/", u"httx://h/", u"htp://h/", u"http", u"",
        u" http://h/", u"httpss://h/", u"httpx://h/",
        u"http//h/", u"http:/h/", u"http:h/", u"http;//h/", u"http:\\\\h/", u"http:///h/",
        u"http://@/", u"http://[/", u"http://`/", u"http://{/", u"http://-/", u"http://_/",
        u"http://:/", u"http://./", u"http://", u"http://\u00E9/", u"http://\uFF21/",
        u"http://h", u"http://host:8443", u"http://h?/", u"http://h@x/", u"http://h x/",
        u"http://h\u00E9/", u"http://h\\x/", u"http://h?x/y",
        u"http://h/a\nb", u"http://h/a\r", u"http://h/\u2028", u"http://h/\u2029", u"http://h\n/",
    });
    // clang-format on
}

// Each group's length, its first character, the hyphens between the groups, the digit class,
// and nothing around it.
TEST(TextUtils, IsValidGuidTakesEachGroupAndHyphen) {
    const std::u16string guid = u"6F9619FF-8B86-D011-B42D-00C04FC964FF";
    // `guid` with `count` units from `pos` replaced by `by`.
    const auto edited = [&guid](std::size_t pos, std::size_t count, const char16_t* by) {
        return std::u16string(guid).replace(pos, count, by);
    };
    // clang-format off
    ExpectAnswers(IsValidGuid, {
        guid, u"6f9619ff-8b86-d011-b42d-00c04fc964ff", u"09afAF09-aFAf-0000-9999-abcdefABCDEF",
    }, {
        edited(7, 1, u""), edited(12, 1, u""), edited(17, 1, u""), edited(22, 1, u""),
        edited(35, 1, u""), edited(8, 1, u"0-"), edited(23, 2, u"0-"), edited(19, 5, u""),
        edited(0, 1, u"g"), edited(9, 1, u"@"), edited(14, 1, u"`"), edited(19, 1, u"/"),
        edited(24, 1, u":"), edited(35, 1, u"G"), edited(35, 1, u"\uFF21"),
        edited(8, 1, u"_"), edited(13, 1, u" "), edited(18, 1, u"0"), edited(23, 1, u"\u2010"),
        u"{" + guid + u"}", u" " + guid, guid + u"x", guid + u"\n", u"",
    });
    // clang-format on
}

// Letters that fold to ASCII ones in a UTF-8 locale (Kelvin sign, long s, dotted and dotless i)
// are not ASCII letters.
TEST(TextUtils, ValidatorLetterClassesAreAsciiWhateverTheLocale) {
    std::locale utf8;
    try {
        utf8 = std::locale("C.UTF-8");
    } catch (const std::runtime_error&) {
        GTEST_SKIP() << "this C++ library knows no locale but \"C\" (libstdc++ on Windows)";
    }
    const std::locale previous = std::locale::global(utf8);
    ExpectAnswers(IsValidUrl, {u"http://k/"},
                  {u"http://\u212A/", u"http://a\u017F/", u"http://\u0130/", u"http://a\u0131/",
                   u"http\u017F://h/"});
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
