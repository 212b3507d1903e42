// CConfig's reads: texts, numbers, presence, and giving texts back.
#include "siblings/tolva/config.h"
#include "siblings/tolva/config_support.h"
#include "siblings/tolva/text_codec.h"

namespace tolva {

char* CConfig::GetStringA(const char* key) {
    constexpr const char* kOperation = "tolva::CConfig::GetStringA";
    return Guarded(kOperation, static_cast<char*>(nullptr), [&]() -> char* {
        const auto text = ReadText(kOperation, key);
        return text ? HandOutNarrow(*text) : nullptr;
    });
}

char16_t* CConfig::GetString(const char* key) {
    return ReadWide("tolva::CConfig::GetString", key);
}

char16_t* CConfig::GetString2(const char* key) {
    return ReadWide("tolva::CConfig::GetString2", key);
}

std::uint32_t CConfig::GetDword(const char* key) {
    return ReadNumber("tolva::CConfig::GetDword", key);
}

std::uint32_t CConfig::GetDword2(const char* key) {
    return ReadNumber("tolva::CConfig::GetDword2", key);
}

int CConfig::Exists(const char* key) {
    constexpr const char* kOperation = "tolva::CConfig::Exists";
    return Guarded(kOperation, 0, [&] {
        const auto checked = CheckedKey(kOperation, key);
        const auto value = checked ? m_store.Find(*checked) : std::nullopt;
        return IsPresent(value ? &*value : nullptr) ? 1 : 0;
    });
}

void CConfig::FreeStringA(char* text) {
    ReleaseText(text);
}

void CConfig::FreeString(char16_t* text) {
    ReleaseText(text);
}

std::optional<std::string> CConfig::ReadText(const char* operation, const char* key) {
    const auto checked = CheckedKey(operation, key);
    auto value = checked ? m_store.Find(*checked) : std::nullopt;
    if (!value || !value->IsText()) {
        return std::nullopt;
    }
    return std::move(value->text);
}

char16_t* CConfig::ReadWide(const char* operation, const char* key) {
    return Guarded(operation, static_cast<char16_t*>(nullptr), [&]() -> char16_t* {
        const auto text = ReadText(operation, key);
        // Stored text is valid UTF-8: it is checked when written and when read from the file.
        const auto wide = text ? Utf8ToUtf16(*text) : std::nullopt;
        return wide ? HandOutWide(*wide) : nullptr;
    });
}

std::uint32_t CConfig::ReadNumber(const char* operation, const char* key) {
    return Guarded(operation, hvx::kConfigAbsent, [&] {
        const auto checked = CheckedKey(operation, key);
        const auto value = checked ? m_store.Find(*checked) : std::nullopt;
        return value && value->type == ValueType::Dword ? value->number : hvx::kConfigAbsent;
    });
}

}  // namespace tolva
