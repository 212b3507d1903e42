// CConfig's writes: add, set and delete.
#include "siblings/tolva/config.h"
#include "siblings/tolva/config_support.h"

namespace tolva {

int CConfig::AddString(const char* key, const char16_t* value, int persist) {
    return WriteText("tolva::CConfig::AddString", key, value, persist, WriteMode::AddOnly);
}

int CConfig::AddDword(const char* key, std::uint32_t value, int persist) {
    return WriteNumber("tolva::CConfig::AddDword", key, value, persist, WriteMode::AddOnly);
}

int CConfig::SetString(const char* key, const char16_t* value, int persist) {
    return WriteText("tolva::CConfig::SetString", key, value, persist, WriteMode::ReplaceOnly);
}

int CConfig::SetDword(const char* key, std::uint32_t value, int persist) {
    return WriteNumber("tolva::CConfig::SetDword", key, value, persist, WriteMode::ReplaceOnly);
}

int CConfig::DeleteKey(const char* key, int persist) {
    constexpr const char* kOperation = "tolva::CConfig::DeleteKey";
    return Guarded(kOperation, 0, [&] {
        const auto checked = CheckedKey(kOperation, key);
        return checked && m_store.RemoveTree(*checked, ToPersist(persist)) > 0 ? 1 : 0;
    });
}

int CConfig::WriteText(const char* operation, const char* key, const char16_t* value, int persist,
                       WriteMode mode) {
    return Guarded(operation, 0, [&] {
        const auto checked = CheckedKey(operation, key);
        if (!checked) {
            return 0;
        }
        auto text = CheckedWideValue(operation, *checked, value);
        return text && Write(*checked, Value::Wide(std::move(*text)), persist, mode) ? 1 : 0;
    });
}

int CConfig::WriteNumber(const char* operation, const char* key, std::uint32_t value, int persist,
                         WriteMode mode) {
    return Guarded(operation, 0, [&] {
        const auto checked = CheckedKey(operation, key);
        return checked && Write(*checked, Value::Dword(value), persist, mode) ? 1 : 0;
    });
}

bool CConfig::Write(const std::string& key, const Value& value, int persist, WriteMode mode) {
    return m_store.Update(key, ToPersist(persist), [&](const Value* current) {
        std::optional<Value> next;
        if (IsPresent(current) != (mode == WriteMode::ReplaceOnly)) {
            return next;  // add needs an absent key, set a present one
        }
        next = value;
        if (mode == WriteMode::ReplaceOnly && value.IsText() && current->IsText()) {
            next->type = current->type;
        }
        return next;
    });
}

}  // namespace tolva
