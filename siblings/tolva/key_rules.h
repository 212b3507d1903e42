// What makes a key: a UTF-8 slash path below "config/" whose parts are not empty and which holds
// no control character (NUL included; see venit::EscapeControlCharacters for the set)
// ("config/conn/timeout"). A key is also the root of the tree of keys below it.
#pragma once

#include <cstdint>
#include <string_view>

namespace tolva {

inline constexpr std::string_view kKeyRoot = "config/";

enum class KeyProblem : std::uint8_t {
    None,
    Null,
    Empty,
    OutsideRoot,
    EmptyPart,
    NotUtf8,
    ControlCharacter
};

KeyProblem CheckKey(const char* key);
KeyProblem CheckKey(std::string_view key);

// A few words for messages: "null", "empty", "not under config/", ...
std::string_view DescribeKeyProblem(KeyProblem problem);

// True when `key` is `root` or lies below it: "config/a" holds "config/a/b" but not
// "config/ab".
bool IsInTree(std::string_view key, std::string_view root);

}  // namespace tolva
