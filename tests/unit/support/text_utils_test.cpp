#include "support/text_utils.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "interfaces/hvx_types.h"

namespace hvx {
namespace {

TEST(TextUtils, Utf8ToWideConvertsValidTextAndRejectsTheRestLeavingTheOutput) {
    const struct {
        const char* name;
        std::string utf8;
        std::optional<std::u16string> wide;  // nothing: rejected
    } cases[] = {
        {"Ascii", "agent", u"agent"},
        {"Empty", "", u""},
        {"TwoBytes", "caf\xC3\xA9", u"caf\u00E9"},
        {"ThreeBytes", "\xE2\x82\xAC", u"\u20AC"},
        {"FourBytes", "\xF0\x9F\x98\x80", u"\U0001F600"},
        {"EmbeddedZeroDropsTheRest", std::string("ab\0cd", 5), u"ab"},
        {"InvalidAfterAnEmbeddedZeroIsNeverLookedAt", std::string("ok\0\xFF", 4), u"ok"},
        {"Truncated", "ab\xC3", std::nullopt},
        {"Overlong", "\xC0\xAF", std::nullopt},
        {"EncodedSurrogate", "\xED\xA0\x80", std::nullopt},
        {"AboveUnicode", "\xF4\x90\x80\x80", std::nullopt},
        {"StrayContinuation", "a\x80z", std::nullopt},
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
        {u"\xDC00", "\xEF\xBF\xBD"},
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

TEST(TextUtils, IsValidUrl) {
    struct Case {
        std::u16string url;
        bool valid;
    };
    const Case cases[] = {
        {u"https://mgmt.example.com", false},  // nothing after the host
        {u"https://mgmt.example.com/", true},
        {u"HTTPS://MGMT.EXAMPLE.COM/", true},
        {u"Http://host/", true},
        {u"https://host:8443/api", true},
        {u"http://host/path?q=1&r=2", true},
        {u"https://host_name.example-1/x", true},
        {u"ftp://host/", false},
        {u"httpss://host/", false},
        {u"https:///path", false},
        {u"https://-host/", false},
        {u"https://ho st/", false},
        {u"https://host/a\nInjected: 1", false},
        {u"https://host/\u00E9", true},
        {u"", false},
        {u" https://host/", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsValidUrl(c.url), c.valid) << std::string(c.url.begin(), c.url.end());
    }
}

TEST(TextUtils, IsValidGuid) {
    struct Case {
        std::u16string guid;
        bool valid;
    };
    const Case cases[] = {
        {u"6F9619FF-8B86-D011-B42D-00C04FC964FF", true},
        {u"6f9619ff-8b86-d011-b42d-00c04fc964ff", true},
        {u"{6F9619FF-8B86-D011-B42D-00C04FC964FF}", false},
        {u"6F9619FF-8B86-D011-00C04FC964FF", false},
        {u" 6F9619FF-8B86-D011-B42D-00C04FC964FF", false},
        {u"6F9619FF-8B86-D011-B42D-00C04FC964FFx", false},
        {u"6G9619FF-8B86-D011-B42D-00C04FC964FF", false},
        {u"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsValidGuid(c.guid), c.valid) << std::string(c.guid.begin(), c.guid.end());
    }
}

}  // namespace
}  // namespace hvx
