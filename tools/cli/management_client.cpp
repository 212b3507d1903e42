#include "tools/cli/management_client.h"

#include "tools/cli/interrupt.h"
#include "tools/cli/result_text.h"

namespace hvx::cli {

OstraPtr StartOstra(const CaspoLibrary& library, const std::string& command,
                    const Console& console) {
    if (!library.Loaded()) {
        console.err << "caspo " << command << ": " << library.Problem() << '\n';
        return OstraPtr(nullptr, OstraReleaser{});
    }
    OstraPtr ostra = library.NewOstra();
    // A missing value is logged by the library and shows in the operations' results.
    static_cast<void>(ostra->Init(InterruptWatch::Callback(), 1));
    return ostra;
}

int ReportManagement(const std::string& command, HRESULT result, const std::string& what,
                     const Json::Value& details, const Console& console) {
    if (console.options.json) {
        Json::Value root = details.isObject() ? details : Json::Value(Json::objectValue);
        root["command"] = command;
        root["result"] = ResultHex(result);
        root["message"] = ResultMessage(result);
        root["what"] = what;
        Json::StreamWriterBuilder writer;
        writer["indentation"] = "";
        console.out << Json::writeString(writer, root) << '\n';
    } else {
        console.out << command << ": " << what << '\n'
                    << "result: " << ResultHex(result) << ' ' << ResultMessage(result) << '\n';
    }
    return FAILED(result) ? kExitFailure : kExitSuccess;
}

}  // namespace hvx::cli
