// Builds rosta's message table and string block from texts.h at compile time and exports them
// as the module's resource table.
#include <array>
#include <string_view>

#include "platform/resource_layout.h"
#include "platform/resources.h"
#include "siblings/rosta/texts.h"

namespace hvx::rosta {

namespace {

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

constexpr DWORD kProductNameBlock = os::StringBlockId(IDS_HALVEX_PROTECT);

constexpr auto kMessageTable = os::MessageTableBytes<os::MessageTableSize(kMessages)>(kMessages);
constexpr auto kProductNameStrings =
    os::StringBlockBytes<os::StringBlockSize(kStrings, kProductNameBlock)>(kStrings,
                                                                           kProductNameBlock);

constexpr std::array kEntries = std::to_array<os::ResourceEntry>({
    {os::kResourceTypeMessageTable, os::kMessageTableId, os::kLanguageEnglishUs,
     kMessageTable.data(), static_cast<DWORD>(kMessageTable.size())},
    {os::kResourceTypeString, kProductNameBlock, os::kLanguageEnglishUs, kProductNameStrings.data(),
     static_cast<DWORD>(kProductNameStrings.size())},
});

constexpr os::ResourceTable kResources{kEntries.data(), kEntries.size()};

}  // namespace

}  // namespace hvx::rosta

extern "C" HVX_DLL_EXPORT const hvx::os::ResourceTable* HvxModuleResources() {
    return &hvx::rosta::kResources;
}
