#include "siblings/tolva/store_path.h"

#include <cstdlib>
#include <mutex>

#include "platform/file.h"
#include "siblings/tolva/text_codec.h"

namespace tolva {

namespace {

constexpr const char* kDefaultRelativePath = "/caspo/config.db";

std::mutex g_overrideMutex;
std::string g_override;

std::string DefaultStorePath() {
    const auto folder = Utf16ToUtf8(hvx::os::GetUserDataDirectory());
    if (!folder || folder->empty()) {
        return {};
    }
    return *folder + kDefaultRelativePath;
}

}  // namespace

void SetStorePathOverride(const char* path) {
    const std::lock_guard lock(g_overrideMutex);
    g_override = path == nullptr ? "" : path;
}

std::string ResolveStorePath() {
    {
        const std::lock_guard lock(g_overrideMutex);
        if (!g_override.empty()) {
            return g_override;
        }
    }
    const char* fromEnvironment = std::getenv(kStorePathVariable);
    if (fromEnvironment != nullptr && *fromEnvironment != '\0') {
        return fromEnvironment;
    }
    return DefaultStorePath();
}

}  // namespace tolva
