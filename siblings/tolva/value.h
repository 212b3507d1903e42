// A stored value: its type and its content. Text of every type is kept as UTF-8; wide text is
// converted to UTF-16 only when it is handed out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tolva {

enum class ValueType : std::uint8_t { Wide, Narrow, Dword, Cert };

struct Value {
    ValueType type = ValueType::Wide;
    std::string text;          // UTF-8; Wide, Narrow and Cert (PEM)
    std::uint32_t number = 0;  // Dword

    static Value Wide(std::string utf8) { return {ValueType::Wide, std::move(utf8), 0}; }
    static Value Narrow(std::string utf8) { return {ValueType::Narrow, std::move(utf8), 0}; }
    static Value Cert(std::string pem) { return {ValueType::Cert, std::move(pem), 0}; }
    static Value Dword(std::uint32_t number) { return {ValueType::Dword, {}, number}; }

    bool IsText() const { return type != ValueType::Dword; }
    bool operator==(const Value&) const = default;
};

// A number of 0xFFFFFFFF means "absent" to every reader, so such a value does not count as
// present for Exists, AddDword/AddString (which may then replace it) or SetString/SetDword.
bool IsPresent(const Value* value);

// "wide", "narrow", "dword", "cert": the names in the database, the tool and its JSON.
std::string_view TypeName(ValueType type);
std::optional<ValueType> ParseTypeName(std::string_view name);

}  // namespace tolva
