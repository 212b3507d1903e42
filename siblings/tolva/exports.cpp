// libtolva's exports: the factory the agent finds by name, and the store path.
#include <exception>

#include "siblings/tolva/config.h"
#include "siblings/tolva/config_support.h"
#include "siblings/tolva/store_path.h"
#include "siblings/tolva/tolva.h"

extern "C" {

TOLVA_API hvx::IConfig* CreateConfigClassInstance() {
    return tolva::Guarded(
        "CreateConfigClassInstance", static_cast<hvx::IConfig*>(nullptr),
        []() -> hvx::IConfig* { return new tolva::CConfig(tolva::ResolveStorePath()); });
}

TOLVA_API void TolvaSetStorePath(const char* path) {
    static_cast<void>(tolva::Guarded("TolvaSetStorePath", 0, [path] {
        tolva::SetStorePathOverride(path);
        return 0;
    }));
}

}  // extern "C"
