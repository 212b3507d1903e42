#include "tools/config/value_text.h"

#include <charconv>
#include <cstdint>

#include "siblings/tolva/certificates.h"
#include "siblings/tolva/key_rules.h"
#include "siblings/tolva/text_codec.h"
#include "siblings/venit/venit.h"

namespace hvx::config_tool {

namespace {

constexpr std::string_view kBlanks = " \t\r\n";
constexpr int kDecimal = 10;
constexpr int kHexadecimal = 16;

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::optional<std::uint32_t> ParseDword(std::string_view text) {
    text = Trim(text);
    int base = kDecimal;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = kHexadecimal;
    }
    std::uint32_t number = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number, base);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return number;
}

}  // namespace

ParsedValue ParseValue(tolva::ValueType type, std::string_view text) {
    if (type == tolva::ValueType::Dword) {
        const auto number = ParseDword(text);
        if (!number) {
            return {std::nullopt, "not a number from 0 to 4294967295"};
        }
        return {tolva::Value::Dword(*number), {}};
    }
    if (!tolva::IsValidUtf8(text)) {
        return {std::nullopt, "not valid UTF-8"};
    }
    if (type == tolva::ValueType::Cert) {
        const auto parsed = tolva::ParsePemCertificates(text);
        if (!parsed.complete || parsed.certificates.empty()) {
            return {std::nullopt, "not PEM certificates"};
        }
    }
    return {tolva::Value{type, std::string(text), 0}, {}};
}

std::string ValueText(const tolva::Value& value) {
    return value.IsText() ? value.text : std::to_string(value.number);
}

std::string KeyProblemText(std::string_view key) {
    const auto problem = tolva::CheckKey(key);
    if (problem == tolva::KeyProblem::None) {
        return {};
    }
    // The key goes to a terminal: its control characters are shown, not sent.
    return "bad key \"" + venit::EscapeControlCharacters(key) + "\" (" +
           std::string(tolva::DescribeKeyProblem(problem)) + ")";
}

std::string OneLineValueText(const tolva::Value& value) {
    std::string line;
    for (const char c : ValueText(value)) {
        switch (c) {
            case '\\':
                line += "\\\\";
                break;
            case '\n':
                line += "\\n";
                break;
            case '\r':
                line += "\\r";
                break;
            case '\t':
                line += "\\t";
                break;
            default:
                line += c;
        }
    }
    return line;
}

}  // namespace hvx::config_tool
