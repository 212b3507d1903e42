// The URL and GUID validators, as hand-written scanners: one pass over the text, no recursion and
// no allocation, so any length is safe on any stack. Letter classes are ASCII whatever the
// global locale. fuzz/validators_fuzz.cpp holds them against the patterns they stand for.
#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "support/text_utils.h"

namespace hvx {

namespace {

constexpr bool IsAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

constexpr bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

constexpr bool IsHexDigit(char16_t c) {
    return IsDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// A letter, digit, hyphen, underscore, colon, full stop or slash: the host run of a URL.
constexpr bool IsHostChar(char16_t c) {
    return IsAsciiLetter(c) || IsDigit(c) || c == u'-' || c == u'_' || c == u':' || c == u'.' ||
           c == u'/';
}

// Line feed, carriage return, line separator and paragraph separator end a line.
constexpr bool IsLineEnd(char16_t c) {
    return c == u'\n' || c == u'\r' || c == u'\u2028' || c == u'\u2029';
}

// Whether `text` holds `word` at `pos`, ASCII letters in either case; on a match `pos` moves
// past it. `word` is lower-case ASCII.
bool ConsumeIgnoringCase(std::u16string_view text, std::size_t& pos, std::string_view word) {
    if (text.size() - pos < word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        const char16_t c = text[pos + i];
        const auto lower = static_cast<char16_t>(word[i]);
        const bool upperMatches = IsAsciiLetter(lower) && c == lower - u'a' + u'A';
        if (c != lower && !upperMatches) {
            return false;
        }
    }
    pos += word.size();
    return true;
}

}  // namespace

// "http" or "https" in any letter case, "://", a letter or digit, then a host run (letters,
// digits, "-_:./") holding a slash, then the rest of the line. The last slash of the host run
// ends the host part, so a slash in the run and no line end after it is the whole rule.
bool IsValidUrl(const std::u16string& url) {
    const std::u16string_view text(url);
    std::size_t pos = 0;
    if (!ConsumeIgnoringCase(text, pos, "http")) {
        return false;
    }
    ConsumeIgnoringCase(text, pos, "s");
    if (!ConsumeIgnoringCase(text, pos, "://")) {
        return false;
    }
    if (pos == text.size() || !(IsAsciiLetter(text[pos]) || IsDigit(text[pos]))) {
        return false;
    }
    // The first character, a letter or digit, is the first of the host run.
    std::size_t runEnd = pos;
    while (runEnd < text.size() && IsHostChar(text[runEnd])) {
        ++runEnd;
    }
    const std::u16string_view run = text.substr(pos, runEnd - pos);
    const std::u16string_view afterRun = text.substr(runEnd);
    return run.find(u'/') != std::u16string_view::npos &&
           std::none_of(afterRun.begin(), afterRun.end(), IsLineEnd);
}

// Five groups of 8, 4, 4, 4 and 12 hexadecimal digits joined by hyphens, nothing else.
bool IsValidGuid(const std::u16string& guid) {
    static constexpr std::u16string_view kShape = u"xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx";
    if (guid.size() != kShape.size()) {
        return false;
    }
    for (std::size_t i = 0; i < kShape.size(); ++i) {
        const bool fits = kShape[i] == u'-' ? guid[i] == u'-' : IsHexDigit(guid[i]);
        if (!fits) {
            return false;
        }
    }
    return true;
}

}  // namespace hvx
