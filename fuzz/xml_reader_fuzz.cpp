// Feeds pelum's XML reader arbitrary bytes as a zero-terminated document. A document it refuses
// leaves nothing to read; one it accepts is valid UTF-8 of at most 1 MiB, is accepted again by a
// fresh reader, and every value read from it is there in the same order twice.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "platform/text.h"
#include "siblings/pelum/xml_reader.h"

namespace {

using hvx::fuzz::Check;

bool IsUtf8(const std::string& text) {
    return text.empty() ||
           hvx::os::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                        static_cast<int>(text.size()), nullptr, 0) > 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string document(reinterpret_cast<const char*>(data), size);
    hvx::pelum::CXmlReader reader;
    if (reader.ParseDocument(document.c_str()) == 0) {
        Check(reader.GetValue("a") == nullptr && reader.GetValueList("a") == nullptr);
        return 0;
    }
    const std::string parsed = document.substr(0, document.find('\0'));
    Check(parsed.size() <= hvx::pelum::kMaxDocumentBytes && IsUtf8(parsed));
    hvx::pelum::CXmlReader again;
    Check(again.ParseDocument(parsed.c_str()) == 1);
    for (const char* path : {"update", "update/version", "update/mask", "a/b"}) {
        char16_t** first = reader.GetValueList(path);
        char16_t** second = again.GetValueList(path);
        Check((first == nullptr) == (second == nullptr));
        for (std::size_t i = 0; first != nullptr && (first[i] != nullptr || second[i] != nullptr);
             ++i) {
            Check(first[i] != nullptr && second[i] != nullptr &&
                  std::u16string_view(first[i]) == std::u16string_view(second[i]));
        }
        reader.FreeValueList(first);
        again.FreeValueList(second);
    }
    return 0;
}
