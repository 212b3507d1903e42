#include "tools/backend/ready_file.h"
#include "tools/common/json_text.h"

#include <json/json.h>

namespace hvx::backend {

std::string ReadyJson(const Backend& backend, pid_t pid) {
    Json::Value ready(Json::objectValue);
    for (const Listener& listener : backend.Listeners()) {
        ready[listener.scheme] = listener.url;
    }
    if (const auto ca = backend.CaFile()) {
        ready["ca"] = ca->string();
    }
    if (const auto trust = backend.TrustFile()) {
        ready["trust"] = trust->string();
    }
    ready["pid"] = Json::Int64{pid};
    return tools::IndentedJson(ready);
}

}  // namespace hvx::backend
