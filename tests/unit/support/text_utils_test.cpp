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
// what Utf8ToWide makes of its answer.
TEST(TextUtils, Utf8ToWideConvertsValidTextAndRejectsTheRestLeavingTheOutput) {
    const struct {
        const char* name;
        std::string utf8;
        std::optional<std::u16string> wide;  // nothing: rejected
    } cases[] = {
        {"Ascii", "agent", u"agent"},
        {"Empty", "", u""},
        {"FourBytes", "\xF0\x9F\x98\x80", u"\U0001F600"},
        {"EmbeddedZeroDropsTheRest", std::string("ab\0cd", 5), u"ab"},
        {"InvalidAfterAnEmbeddedZeroIsNeverLookedAt", std::string("ok\0\xFF", 4), u"ok"},
        {"Truncated", "ab\xC3", std::nullopt},
        {"InvalidBeforeEmbeddedZero", std::string("\xFF\0ok", 4), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::u16string out = u"previous";
        EXPECT_EQ(Utf8ToWide(c.utf8, out), c.wide ? S_OK : E_INVALIDARG);
        EXPECT_EQ(out, c.wide.value_or(u"previous"));
    }
}

TEST(TextUtils, WideToUtf8) {
    struct Case {
        std::u16string wide;
        std::string utf8;
    };
    const Case cases[] = {
        {u"agent", "agent"},
        {u"", ""},
        {u"caf\u00E9", "caf\xC3\xA9"},
        {u"\U0001F600", "\xF0\x9F\x98\x80"},
        {std::u16string(u"ab\0cd", 5), "ab"},
        {u"a\xD800z", "a\xEF\xBF\xBDz"},  // a lone surrogate becomes U+FFFD
    };
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

// The text as \uXXXX escapes outside printable ASCII, for failure messages.
std::string Shown(const std::u16string& text) {
    std::string shown;
    for (const char16_t c : text.substr(0, 80)) {
        if (c >= 0x20 && c < 0x7F) {
            shown.push_back(static_cast<char>(c));
        } else {
            static constexpr char kHex[] = "0123456789ABCDEF";
            shown += "\\u";
            for (int shift = 12; shift >= 0; shift -= 4) {
                shown.push_back(kHex[(c >> shift) & 0xFU]);
            }
        }
    }
    return text.size() > 80 ? shown + "..." : shown;
}

struct ValidatorCase {
    std::u16string text;
    bool valid;
};

template <std::size_t N>
void ExpectAnswers(bool (*validator)(const std::u16string&), const ValidatorCase (&cases)[N]) {
    for (const auto& c : cases) {
        EXPECT_EQ(validator(c.text), c.valid) << Shown(c.text);
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
    const ValidatorCase cases[] = {
        {u"6F9619FF-8B86-D011-B42D-00C04FC964FF", true},
        {u"6f9619ff-8b86-d011-b42d-00c04fc964ff", true},
        {u"09afAF09-aFAf-0000-9999-abcdefABCDEF", true},
        // a group one short or one long
        {u"6F9619F-8B86-D011-B42D-00C04FC964FF", false},
        {u"6F9619FF-8B8-D011-B42D-00C04FC964FF", false},
        {u"6F9619FF-8B86-D01-B42D-00C04FC964FF", false},
        {u"6F9619FF-8B86-D011-B42-00C04FC964FF", false},
        {u"6F9619FF-8B86-D011-B42D-00C04FC964F", false},
        {u"6F9619FF0-8B86-D011-B42D-00C04FC964F", false},
        {u"6F9619FF-8B86-D011-B42D0-0C04FC964FF", false},
        {u"6F9619FF-8B86-D011-00C04FC964FF", false},
        // a non-digit as the first character of each group, and in the last place
        {u"gF9619FF-8B86-D011-B42D-00C04FC964FF", false},
        {u"6F9619FF-@B86-D011-B42D-00C04FC964FF", false},
        {u"6F9619FF-8B86-`011-B42D-00C04FC964FF", false},
        {u"6F9619FF-8B86-D011-/42D-00C04FC964FF", false},
        {u"6F9619FF-8B86-D011-B42D-:0C04FC964FF", false},
        {u"6F9619FF-8B86-D011-B42D-00C04FC964F\uFF21", false},
        // the hyphens
        {u"6F9619FF_8B86-D011-B42D-00C04FC964FF", false},
        {u"6F9619FF-8B86 D011-B42D-00C04FC964FF", false},
        {u"6F9619FF-8B86-D0110B42D-00C04FC964FF", false},
        {u"6F9619FF-8B86-D011-B42D\u201000C04FC964FF", false},
        // nothing around it
        {u"{6F9619FF-8B86-D011-B42D-00C04FC964FF}", false},
        {u" 6F9619FF-8B86-D011-B42D-00C04FC964FF", false},
        {u"6F9619FF-8B86-D011-B42D-00C04FC964FFx", false},
        {u"6F9619FF-8B86-D011-B42D-00C04FC964FF\n", false},
        {u"", false}};
    ExpectAnswers(IsValidGuid, cases);
}

// Sets the global C++ locale for one scope.
class GlobalLocale {
public:
    explicit GlobalLocale(const std::locale& locale) : previous_(std::locale::global(locale)) {}
    ~GlobalLocale() { std::locale::global(previous_); }
    GlobalLocale(const GlobalLocale&) = delete;
    GlobalLocale& operator=(const GlobalLocale&) = delete;

private:
    std::locale previous_;
};

// Letters that fold to ASCII ones in a UTF-8 locale (Kelvin sign, long s, dotted and dotless i)
// are not ASCII letters.
TEST(TextUtils, ValidatorLetterClassesAreAsciiWhateverTheLocale) {
    std::optional<std::locale> utf8;
    try {
        utf8.emplace("C.UTF-8");
    } catch (const std::runtime_error&) {
        GTEST_SKIP() << "no C.UTF-8 locale";
    }
    const GlobalLocale scope(*utf8);
    const ValidatorCase urls[] = {{u"http://\u212A/", false},  {u"http://a\u017F/", false},
                                  {u"http://\u0130/", false},  {u"http://a\u0131/", false},
                                  {u"http\u017F://h/", false}, {u"http://k/", true}};
    ExpectAnswers(IsValidUrl, urls);
    EXPECT_FALSE(IsValidGuid(u"6F9619FF-8B86-D011-B42D-00C04FC964F\u212A"));
}

// Runs `validator` on a thread with a 256 KiB stack, a quarter of a Windows thread's default.
bool OnSmallStack(bool (*validator)(const std::u16string&), const std::u16string& text) {
    struct Call {
        bool (*validator)(const std::u16string&);
        const std::u16string* text;
        bool answer;
    } call{validator, &text, false};
    pthread_attr_t attributes;
    EXPECT_EQ(pthread_attr_init(&attributes), 0);
    EXPECT_EQ(pthread_attr_setstacksize(&attributes, std::size_t{256} * 1024), 0);
    pthread_t thread{};
    const int created = pthread_create(
        &thread, &attributes,
        [](void* argument) -> void* {
            auto* c = static_cast<Call*>(argument);
            c->answer = c->validator(*c->text);
            return nullptr;
        },
        &call);
    pthread_attr_destroy(&attributes);
    EXPECT_EQ(created, 0);
    if (created == 0) {
        EXPECT_EQ(pthread_join(thread, nullptr), 0);
    }
    return call.answer;
}

// A megabyte of text goes through in one pass: no recursion per character.
TEST(TextUtils, ValidatorsTakeAMegabyteOnASmallStack) {
    const std::u16string run(std::size_t{1} << 20U, u'a');
    const struct {
        bool (*validator)(const std::u16string&);
        std::u16string text;
        bool valid;
    } cases[] = {
        {IsValidUrl, u"http://127.0.0.1:9/" + run, true},
        {IsValidUrl, u"http://127.0.0.1:9/" + run + u"\n", false},
        {IsValidUrl, u"http://" + run, false},
        {IsValidGuid, run, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OnSmallStack(c.validator, c.text), c.valid) << Shown(c.text);
    }
}

}  // namespace
}  // namespace hvx
