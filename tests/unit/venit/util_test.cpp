#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "siblings/venit/util.h"

namespace {

TEST(Util, SafeArithmeticRefusesOverflow) {
    struct Case {
        std::size_t a;
        std::size_t b;
        bool mulFits;
        bool addFits;
    };
    const Case cases[] = {
        {SIZE_MAX, 1, true, false},
        {SIZE_MAX, 2, false, false},
        {0, SIZE_MAX, true, true},
        {SIZE_MAX - 1, 1, true, true},
        {SIZE_MAX / 2 + 1, 2, false, true},
        {std::size_t{1} << 32, std::size_t{1} << 32, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.a) + ", " + std::to_string(c.b));
        std::size_t product = 7;
        std::size_t sum = 7;
        ASSERT_EQ(Util::SafeMul(c.a, c.b, product), c.mulFits);
        ASSERT_EQ(Util::SafeAdd(c.a, c.b, sum), c.addFits);
        EXPECT_EQ(product, c.mulFits ? c.a * c.b : 7);
        EXPECT_EQ(sum, c.addFits ? c.a + c.b : 7);
    }
}

TEST(Util, Allocation) {
    EXPECT_EQ(Util::SafeMalloc(0), nullptr);
    EXPECT_EQ(Util::SafeCalloc(SIZE_MAX, 2), nullptr);
    EXPECT_EQ(Util::SafeCalloc(0, 16), nullptr);
    const Util::UniqueMem<std::uint32_t> zeroed(
        static_cast<std::uint32_t*>(Util::SafeCalloc(64, sizeof(std::uint32_t))));
    ASSERT_NE(zeroed, nullptr);
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(zeroed.get()[i], 0U);
    }
}

TEST(Util, ConversionsRoundTripValidText) {
    const Util::UniqueMem<char16_t> wide(Util::ConvertStringToWCHAR("h\xC3\xA9 \xF0\x9F\x98\x80"));
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(std::u16string(wide.get()), u"h\u00e9 \U0001F600");
    const Util::UniqueMem<char> narrow(Util::ConvertWCHARToString(wide.get()));
    ASSERT_NE(narrow, nullptr);
    EXPECT_EQ(std::string(narrow.get()), "h\xC3\xA9 \xF0\x9F\x98\x80");

    const Util::UniqueMem<char> empty(Util::ConvertWCHARToString(u""));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(std::string(empty.get()), "");
}

TEST(Util, ConversionsRefuseInvalidText) {
    // Which sequences are ill-formed is the platform converter's rule (tests/unit/platform).
    EXPECT_EQ(Util::UniqueMem<char16_t>(Util::ConvertStringToWCHAR("truncated \xE2\x82")), nullptr);
    EXPECT_EQ(Util::UniqueMem<char>(Util::ConvertWCHARToString(u"lone \xD800 high")), nullptr);
    EXPECT_EQ(Util::ConvertStringToWCHAR(nullptr), nullptr);
    EXPECT_EQ(Util::ConvertWCHARToString(nullptr), nullptr);
}

TEST(Util, Aswprintf) {
    char16_t* raw = nullptr;
    const int length = Util::aswprintf(&raw, u"The %s service failed: 0x%08x (%hs)",
                                       u"Halvex Protect", 0xC1040008u, "narrow");
    const Util::UniqueMem<char16_t> text(raw);
    ASSERT_NE(text, nullptr);
    const std::u16string expected = u"The Halvex Protect service failed: 0xc1040008 (narrow)";
    EXPECT_EQ(std::u16string(text.get()), expected);
    EXPECT_EQ(length, static_cast<int>(expected.size()));

    char16_t previous[] = u"previous";
    char16_t* untouched = previous;
    EXPECT_EQ(Util::aswprintf(&untouched, static_cast<const char16_t*>(nullptr)), -1);
    EXPECT_EQ(untouched, nullptr);
    EXPECT_EQ(Util::aswprintf(static_cast<char16_t**>(nullptr), u"x"), -1);
}

}  // namespace
