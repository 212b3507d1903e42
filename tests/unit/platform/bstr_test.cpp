// BSTR allocation: the length prefix, embedded zeros, null; and the plain C exports.
#include "platform/bstr.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

extern "C" {
BSTR SysAllocString(const char16_t* text);
BSTR SysAllocStringLen(const char16_t* text, UINT length);
UINT SysStringLen(BSTR text);
void SysFreeString(BSTR text);
}

namespace hvx::os {
namespace {

using namespace std::string_literals;

struct BstrFree {
    void operator()(char16_t* text) const { os::SysFreeString(text); }
};
using Bstr = std::unique_ptr<char16_t, BstrFree>;

std::uint32_t BytePrefix(BSTR text) {
    std::uint32_t bytes = 0;
    std::memcpy(&bytes, reinterpret_cast<const unsigned char*>(text) - sizeof(bytes),
                sizeof(bytes));
    return bytes;
}

TEST(PlatformBstr, TextCarriesItsByteLengthAndATerminator) {
    const Bstr text(os::SysAllocString(u"h\u00E9llo"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(os::SysStringLen(text.get()), 5u);
    EXPECT_EQ(BytePrefix(text.get()), 10u);
    EXPECT_EQ(std::u16string(text.get(), 6), u"h\u00E9llo\0"s);
}

TEST(PlatformBstr, ExplicitLengthKeepsEmbeddedZeros) {
    const Bstr text(os::SysAllocStringLen(u"a\0b", 3));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(os::SysStringLen(text.get()), 3u);
    EXPECT_EQ(std::u16string(text.get(), 4), u"a\0b\0"s);
}

TEST(PlatformBstr, NullSourceWithLengthGivesZeroedText) {
    const Bstr text(os::SysAllocStringLen(nullptr, 4));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(os::SysStringLen(text.get()), 4u);
    EXPECT_EQ(std::u16string(text.get(), 5), std::u16string(5, u'\0'));
}

TEST(PlatformBstr, NullIsTheEmptyText) {
    EXPECT_EQ(os::SysAllocString(nullptr), nullptr);
    EXPECT_EQ(os::SysStringLen(nullptr), 0u);
    os::SysFreeString(nullptr);
    const Bstr empty(os::SysAllocString(u""));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(os::SysStringLen(empty.get()), 0u);
    EXPECT_EQ(empty.get()[0], u'\0');
}

TEST(PlatformBstr, PlainExportsShareTheLayout) {
    BSTR text = ::SysAllocStringLen(u"xyz", 2);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(::SysStringLen(text), 2u);
    EXPECT_EQ(os::SysStringLen(text), 2u);
    EXPECT_EQ(std::u16string(text, 3), u"xy\0"s);
    ::SysFreeString(text);
    const Bstr copy(::SysAllocString(u"copy"));
    EXPECT_EQ(os::SysStringLen(copy.get()), 4u);
    EXPECT_EQ(::SysStringLen(nullptr), 0u);
}

}  // namespace
}  // namespace hvx::os
