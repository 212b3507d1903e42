#include "siblings/tolva/config_support.h"

#include <algorithm>

#include "siblings/tolva/key_rules.h"
#include "siblings/tolva/text_codec.h"
#include "siblings/venit/venit.h"

namespace tolva {

namespace {

template <typename Char>
Char* HandOut(std::basic_string_view<Char> text) {
    auto* copy = new Char[text.size() + 1];
    std::copy(text.begin(), text.end(), copy);
    copy[text.size()] = Char{};
    return copy;
}

}  // namespace

std::optional<std::string> CheckedKey(const char* operation, const char* key) {
    const KeyProblem problem = CheckKey(key);
    if (problem != KeyProblem::None) {
        error("%s: bad key \"%s\" (%s)", operation, key, DescribeKeyProblem(problem));
        return std::nullopt;
    }
    return std::string(key);
}

std::optional<std::string> CheckedWideValue(const char* operation, const std::string& key,
                                            const char16_t* value) {
    if (value == nullptr) {
        error("%s: null value for %s", operation, key);
        return std::nullopt;
    }
    auto text = Utf16ToUtf8(value);
    if (!text) {
        error("%s: the value for %s is not valid UTF-16", operation, key);
    }
    return text;
}

char* HandOutNarrow(std::string_view text) {
    return HandOut(text);
}

char16_t* HandOutWide(std::u16string_view text) {
    return HandOut(text);
}

void ReportException(const char* operation, const std::exception& exception) noexcept {
    try {
        error("%s: %s", operation, exception.what());
    } catch (...) {  // NOLINT(bugprone-empty-catch): nothing is left to report with
    }
}

}  // namespace tolva
