// Argument checks, text hand-out and the exception barrier shared by CConfig's operations.
#pragma once

#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "siblings/tolva/store.h"

namespace tolva {

// The key, or nothing (with an error record naming the operation) when it is not a key.
std::optional<std::string> CheckedKey(const char* operation, const char* key);
// The value as UTF-8, or nothing (with an error record) when it is null or not UTF-16.
std::optional<std::string> CheckedWideValue(const char* operation, const std::string& key,
                                            const char16_t* value);

inline Persist ToPersist(int flag) {
    return flag != 0 ? Persist::Saved : Persist::Local;
}

// Zero-terminated copies for the caller; given back with ReleaseText.
char* HandOutNarrow(std::string_view text);
char16_t* HandOutWide(std::u16string_view text);
template <typename Char>
void ReleaseText(Char* text) {
    delete[] text;
}

void ReportException(const char* operation, const std::exception& exception) noexcept;

// Runs `body`; an exception (an allocation failure, a lock that cannot be taken) is recorded
// and turned into `failure`, so none crosses the interface.
template <typename Result, typename Body>
Result Guarded(const char* operation, Result failure, Body&& body) noexcept {
    try {
        return std::forward<Body>(body)();
    } catch (const std::exception& exception) {
        ReportException(operation, exception);
        return failure;
    }
}

}  // namespace tolva
