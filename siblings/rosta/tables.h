// rosta's message table and product-name string block in the Windows binary layouts, built from
// texts.h at compile time. On POSIX the module exports them as its resource table; for Windows
// the build writes them out and compiles them into rosta.dll's resources with windres.
#pragma once

#include <string_view>

#include "platform/resource_layout.h"
#include "siblings/rosta/texts.h"

namespace hvx::rosta {

namespace detail {

// One "%s" and no other conversion: the text is used as a format with the product name.
constexpr bool HasOneNamePlaceholder(std::u16string_view text) {
    const std::size_t first = text.find(u'%');
    return first != std::u16string_view::npos && text.substr(first, 2) == u"%s" &&
           text.find(u'%', first + 1) == std::u16string_view::npos;
}

constexpr std::u16string_view TextOf(HRESULT code) {
    for (const os::ResourceText& message : kMessages) {
        if (message.id == static_cast<DWORD>(code)) {
            return message.text;
        }
    }
    return {};
}

static_assert(HasOneNamePlaceholder(TextOf(HVX_E_PRODUCT_MESSAGE_1)));
static_assert(HasOneNamePlaceholder(TextOf(HVX_E_PRODUCT_MESSAGE_2)));

}  // namespace detail

inline constexpr DWORD kProductNameBlock = os::StringBlockId(IDS_HALVEX_PROTECT);

inline constexpr auto kMessageTable =
    os::MessageTableBytes<os::MessageTableSize(kMessages)>(kMessages);
inline constexpr auto kProductNameStrings =
    os::StringBlockBytes<os::StringBlockSize(kStrings, kProductNameBlock)>(kStrings,
                                                                           kProductNameBlock);

}  // namespace hvx::rosta
