#include "siblings/venit/util.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/text.h"

namespace Util {

void* SafeMalloc(std::size_t size) {
    return size == 0 ? nullptr : std::malloc(size);
}

void* SafeCalloc(std::size_t count, std::size_t size) {
    std::size_t total = 0;
    if (!SafeMul(count, size, total) || total == 0) {
        return nullptr;
    }
    return std::calloc(count, size);
}

bool SafeMul(std::size_t a, std::size_t b, std::size_t& result) {
    if (a != 0 && b > SIZE_MAX / a) {
        return false;
    }
    result = a * b;
    return true;
}

bool SafeAdd(std::size_t a, std::size_t b, std::size_t& result) {
    if (a > SIZE_MAX - b) {
        return false;
    }
    result = a + b;
    return true;
}

void FreeMem(void* memory) {
    std::free(memory);
}

char* ConvertWCHARToString(const char16_t* text) {
    if (text == nullptr) {
        return nullptr;
    }
    // A length of -1 converts the terminating zero too, so the count includes it.
    const int units = hvx::os::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, -1, nullptr,
                                                   0, nullptr, nullptr);
    if (units <= 0) {
        return nullptr;
    }
    UniqueMem<char> converted(static_cast<char*>(SafeMalloc(static_cast<std::size_t>(units))));
    if (!converted ||
        hvx::os::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, -1, converted.get(),
                                     units, nullptr, nullptr) != units) {
        return nullptr;
    }
    return converted.release();
}

char16_t* ConvertStringToWCHAR(const char* text) {
    if (text == nullptr) {
        return nullptr;
    }
    const int units =
        hvx::os::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    std::size_t bytes = 0;
    if (units <= 0 || !SafeMul(static_cast<std::size_t>(units), sizeof(char16_t), bytes)) {
        return nullptr;
    }
    UniqueMem<char16_t> converted(static_cast<char16_t*>(SafeMalloc(bytes)));
    if (!converted || hvx::os::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1,
                                                   converted.get(), units) != units) {
        return nullptr;
    }
    return converted.release();
}

int AswprintfFormatted(char16_t** out, const char16_t* format, venit::FormatArgs args) {
    if (out == nullptr) {
        return -1;
    }
    *out = nullptr;
    if (format == nullptr) {
        return -1;
    }
    try {
        const std::u16string text = venit::Format(std::u16string_view(format), args);
        std::size_t units = 0;
        std::size_t bytes = 0;
        if (text.size() > INT_MAX || !SafeAdd(text.size(), 1, units) ||
            !SafeMul(units, sizeof(char16_t), bytes)) {
            return -1;
        }
        UniqueMem<char16_t> copy(static_cast<char16_t*>(SafeMalloc(bytes)));
        if (!copy) {
            return -1;
        }
        std::copy(text.begin(), text.end(), copy.get());
        copy.get()[text.size()] = u'\0';
        *out = copy.release();
        return static_cast<int>(text.size());
    } catch (...) {
        // Only memory can run out while formatting; the caller sees the documented -1.
        return -1;
    }
}

}  // namespace Util
