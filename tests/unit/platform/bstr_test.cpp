// BSTR allocation: the length prefix, embedded zeros, null; and the plain C exports.
#include "platform/bstr.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>

// The plain C functions: libcaspo's exports on POSIX, oleaut32's on Windows, where a BSTR holds
// wchar_t (the same UTF-16 units).
using BstrUnit = std::remove_pointer_t<BSTR>;
extern "C" {
HVX_DLL_IMPORT BSTR SysAllocString(const BstrUnit* text);
HVX_DLL_IMPORT BSTR SysAllocStringLen(const BstrUnit* text, UINT length);
HVX_DLL_IMPORT UINT SysStringLen(BSTR text);
HVX_DLL_IMPORT void SysFreeString(BSTR text);
}

namespace hvx::os {
namespace {

using namespace std::string_literals;

struct BstrFree {
    void operator()(BSTR text) const { os::SysFreeString(text); }
};
using Bstr = std::unique_ptr<BstrUnit, BstrFree>;

const BstrUnit* Plain(const char16_t* text) {
    return reinterpret_cast<const BstrUnit*>(text);
}

std::u16string Units(BSTR text, std::size_t count) {
    return {reinterpret_cast<const char16_t*>(text), count};
}

std::uint32_t BytePrefix(BSTR text) {
    std::uint32_t bytes = 0;
    std::memcpy(&bytes, reinterpret_cast<const unsigned char*>(text) - sizeof(bytes),
                sizeof(bytes));
    return bytes;
}

TEST(PlatformBstr, TextCarriesItsByteLengthATerminatorAndEmbeddedZeros) {
    const struct {
        const char* name;
        Bstr text;
        std::u16string withTerminator;
    } cases[] = {
        {"Terminated", Bstr(os::SysAllocString(u"h\u00E9llo")), u"h\u00E9llo\0"s},
        {"Empty", Bstr(os::SysAllocString(u"")), u"\0"s},
        {"ExplicitLengthKeepsZeros", Bstr(os::SysAllocStringLen(u"a\0b", 3)), u"a\0b\0"s},
        {"NullSourceIsZeroed", Bstr(os::SysAllocStringLen(nullptr, 4)), std::u16string(5, u'\0')},
        // The plain C exports share the layout: what one allocates, the other measures and frees.
        {"PlainExportWithLength", Bstr(::SysAllocStringLen(Plain(u"xyz"), 2)), u"xy\0"s},
        {"PlainExport", Bstr(::SysAllocString(Plain(u"copy"))), u"copy\0"s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(c.text, nullptr);
        const std::size_t length = c.withTerminator.size() - 1;
        EXPECT_EQ(os::SysStringLen(c.text.get()), length);
        EXPECT_EQ(::SysStringLen(c.text.get()), length);
        EXPECT_EQ(BytePrefix(c.text.get()), 2 * length);
        EXPECT_EQ(Units(c.text.get(), c.withTerminator.size()), c.withTerminator);
    }
    ::SysFreeString(::SysAllocString(Plain(u"freed by the plain export")));
}

TEST(PlatformBstr, NullIsTheEmptyText) {
    EXPECT_EQ(os::SysAllocString(nullptr), nullptr);
    EXPECT_EQ(os::SysStringLen(nullptr), 0u);
    EXPECT_EQ(::SysStringLen(nullptr), 0u);
    os::SysFreeString(nullptr);
}

}  // namespace
}  // namespace hvx::os
