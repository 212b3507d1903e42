#include "tools/cli/agent_store.h"

#include "siblings/tolva/store_path.h"

namespace hvx::cli {

namespace {

constexpr int kLoaded = 1;

}  // namespace

std::unique_ptr<tolva::CConfig> LoadAgentStore() {
    auto store = std::make_unique<tolva::CConfig>(tolva::ResolveStorePath());
    return store->Load(0) == kLoaded ? std::move(store) : nullptr;
}

std::u16string StoredText(const char* key) {
    const std::unique_ptr<tolva::CConfig> store = LoadAgentStore();
    char16_t* text = store ? store->GetString(key) : nullptr;
    if (text == nullptr) {
        return {};
    }
    std::u16string copy(text);
    store->FreeString(text);
    return copy;
}

}  // namespace hvx::cli
