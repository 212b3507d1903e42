#include <json/json.h>

#include <memory>

#include "tools/host/host_report.h"

namespace hvx::host_tool {

namespace {

Json::Value AdapterJson(const NicRecord& record) {
    Json::Value adapter(Json::objectValue);
    adapter["index"] = Json::UInt{record.index};
    adapter["name"] = Utf8(record.name);
    adapter["friendly_name"] = Utf8(record.friendly_name);
    adapter["mac"] = Utf8(record.mac);
    adapter["ipv4"] = Utf8(record.ipv4);
    adapter["ipv6"] = Utf8(record.ipv6);
    adapter["active"] = Json::Int{record.active};
    return adapter;
}

}  // namespace

void PrintJson(const HostReport& report, std::ostream& out) {
    Json::Value root(Json::objectValue);
    root["fqdn"] = SUCCEEDED(report.fqdnResult) ? Json::Value(Utf8(report.fqdn)) : Json::Value();
    root["fqdn_result"] = ResultText(report.fqdnResult);
    root["netbios"] =
        report.netbiosFound != FALSE ? Json::Value(Utf8(report.netbios)) : Json::Value();
    root["adapters_result"] = ResultText(report.adaptersResult);
    Json::Value adapters(Json::arrayValue);
    for (const auto& entry : report.adapters) {
        adapters.append(AdapterJson(entry.second));
    }
    root["adapters"] = adapters;

    Json::StreamWriterBuilder builder;
    builder["indentation"] = "  ";
    const std::unique_ptr<Json::StreamWriter> writer(builder.newStreamWriter());
    writer->write(root, &out);
    out << "\n";
}

}  // namespace hvx::host_tool
