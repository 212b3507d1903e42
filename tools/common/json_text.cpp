#include "tools/common/json_text.h"

namespace hvx::tools {
namespace {

std::string Written(const Json::Value& value, const char* indentation) {
    Json::StreamWriterBuilder writer;
    writer["indentation"] = indentation;
    return Json::writeString(writer, value);
}

}  // namespace

std::string CompactJson(const Json::Value& value) {
    return Written(value, "");
}

std::string IndentedJson(const Json::Value& value) {
    return Written(value, "  ") + "\n";
}

}  // namespace hvx::tools
