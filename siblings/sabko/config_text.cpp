#include "siblings/sabko/config_text.h"

#include <memory>

namespace hvx::sabko {

namespace {

// Hands a text back to the store that gave it.
struct WideRelease {
    IConfig* config;
    void operator()(char16_t* text) const { config->FreeString(text); }
};
struct NarrowRelease {
    IConfig* config;
    void operator()(char* text) const { config->FreeStringA(text); }
};

}  // namespace

std::optional<std::u16string> ReadWide(IConfig& config, const char* key) {
    const std::unique_ptr<char16_t, WideRelease> text(config.GetString(key), WideRelease{&config});
    if (!text) {
        return std::nullopt;
    }
    return std::u16string(text.get());
}

std::optional<std::string> ReadNarrow(IConfig& config, const char* key) {
    const std::unique_ptr<char, NarrowRelease> text(config.GetStringA(key), NarrowRelease{&config});
    if (!text) {
        return std::nullopt;
    }
    return std::string(text.get());
}

}  // namespace hvx::sabko
