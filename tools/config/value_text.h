// Values as the tool reads and shows them: typed text in, one-line text out.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "siblings/tolva/value.h"

namespace hvx::config_tool {

// A value parsed from text, or what is wrong with the text.
struct ParsedValue {
    std::optional<tolva::Value> value;
    std::string problem;
};

// Text types need valid UTF-8 and "cert" needs one or more PEM certificates and nothing
// broken; "dword" takes decimal or 0x-hexadecimal up to 4294967295, blanks around allowed.
ParsedValue ParseValue(tolva::ValueType type, std::string_view text);

// The value as `get` prints it: the text itself, or the number in decimal.
std::string ValueText(const tolva::Value& value);

// "" for a good key, else a few words for messages: bad key "k" (not under config/); control
// characters in the key written as \xHH.
std::string KeyProblemText(std::string_view key);

// ValueText with backslash, line ends and tabs escaped, so an entry fits on one line.
std::string OneLineValueText(const tolva::Value& value);

}  // namespace hvx::config_tool
