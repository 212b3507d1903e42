#include "siblings/tolva/value.h"

#include <array>
#include <utility>

#include "interfaces/IConfig.h"

namespace tolva {

namespace {

constexpr std::array<std::pair<ValueType, std::string_view>, 4> kTypeNames{{
    {ValueType::Wide, "wide"},
    {ValueType::Narrow, "narrow"},
    {ValueType::Dword, "dword"},
    {ValueType::Cert, "cert"},
}};

}  // namespace

bool IsPresent(const Value* value) {
    return value != nullptr &&
           !(value->type == ValueType::Dword && value->number == hvx::kConfigAbsent);
}

std::string_view TypeName(ValueType type) {
    for (const auto& [candidate, name] : kTypeNames) {
        if (candidate == type) {
            return name;
        }
    }
    return {};
}

std::optional<ValueType> ParseTypeName(std::string_view name) {
    for (const auto& [type, candidate] : kTypeNames) {
        if (candidate == name) {
            return type;
        }
    }
    return std::nullopt;
}

}  // namespace tolva
