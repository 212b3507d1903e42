// CConfig's life: its module, loading and saving, and the product version.
#include "siblings/tolva/config.h"
#include "siblings/tolva/config_support.h"

namespace tolva {

void CConfig::SetModule(HMODULE module) {
    m_module.store(module);
}

int CConfig::Load(int /*reserved*/) {
    return Guarded("tolva::CConfig::Load", 0, [&] { return m_store.Load() ? 1 : 0; });
}

int CConfig::Save(int /*reserved*/) {
    return Guarded("tolva::CConfig::Save", 0, [&] { return m_store.Save() ? 1 : 0; });
}

char16_t* CConfig::GetProductVersion() {
    return Guarded("tolva::CConfig::GetProductVersion", static_cast<char16_t*>(nullptr),
                   [] { return HandOutWide(u"" CASPO_PRODUCT_VERSION); });
}

}  // namespace tolva
