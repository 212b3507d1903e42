// COstraHttp::ExpandPolicyTemplate: replaces each "[%set:KEY%]" of a policy URL template by the
// percent-encoded value of KEY.
//
// A token is "[%set:", the shortest name up to the first "%]" that follows, and "%]"; the name
// does not cross a line end (LF, CR, U+2028, U+2029), so an opening that meets one before its
// "%]" is plain text. The scan is one pass over the text: a value is encoded, so it can hold no
// "[" and never opens a token, and an opening that met a line end cannot be completed by what
// comes after it.
#include <optional>
#include <string>
#include <string_view>

#include "clients/management/ostra_http.h"
#include "support/config_access.h"
#include "support/config_keys.h"
#include "support/config_singleton.h"
#include "support/text_utils.h"

namespace hvx {

namespace {

constexpr std::u16string_view kOpening = u"[%set:";
constexpr std::u16string_view kClosing = u"%]";

struct Token {
    std::size_t start;  // of "[%set:"
    std::size_t end;    // past "%]"
    std::u16string_view name;
};

bool IsLineEnd(char16_t unit) {
    return unit == u'\n' || unit == u'\r' || unit == u'\u2028' || unit == u'\u2029';
}

// The first token at or after `from`.
std::optional<Token> NextToken(std::u16string_view text, std::size_t from) {
    while (true) {
        const std::size_t start = text.find(kOpening, from);
        if (start == std::u16string_view::npos) {
            return std::nullopt;
        }
        const std::size_t nameStart = start + kOpening.size();
        std::size_t at = nameStart;
        while (at < text.size() && !IsLineEnd(text[at]) &&
               text.substr(at, kClosing.size()) != kClosing) {
            ++at;
        }
        if (at < text.size() && !IsLineEnd(text[at])) {
            return Token{start, at + kClosing.size(), text.substr(nameStart, at - nameStart)};
        }
        // No opening between here and the line end (or the end) can be closed either.
        from = at;
    }
}

// The configuration key a token names: "agent/..." and "ui/..." live under "config/".
std::string KeyOf(const std::string& name) {
    if (name.starts_with("agent/") || name.starts_with("ui/")) {
        return keys::kTemplatePrefix + name;
    }
    return name;
}

// The encoded value of the token's key; empty for an absent key or a name that is not text.
std::u16string TokenValue(std::u16string_view name) {
    std::string key;
    if (FAILED(WideToUtf8(std::u16string(name), key))) {
        return {};
    }
    std::u16string value;
    static_cast<void>(ReadConfigString(KeyOf(key), value));
    std::u16string encoded;
    static_cast<void>(UrlEncodeW(value, encoded));
    return encoded;
}

}  // namespace

// NOLINTNEXTLINE(performance-unnecessary-value-param): the template is taken by value.
HRESULT COstraHttp::ExpandPolicyTemplate(std::u16string text, std::u16string& expanded) {
    expanded = text;
    if (CConfigSingleton::GetInstance() == nullptr) {
        return HVX_E_CONFIG_UNAVAILABLE;
    }
    std::u16string made;
    std::size_t copied = 0;
    for (auto token = NextToken(text, 0); token; token = NextToken(text, token->end)) {
        made.append(text, copied, token->start - copied);
        made += TokenValue(token->name);
        copied = token->end;
    }
    made.append(text, copied);
    expanded = std::move(made);
    return S_OK;
}

}  // namespace hvx
