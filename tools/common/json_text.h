// JSON as the tools write it: one compact line (answers, records, reports), or indented for a
// file a person reads (imports, ready files), ending with a line break.
#pragma once

#include <json/json.h>

#include <string>

namespace hvx::tools {

std::string CompactJson(const Json::Value& value);
std::string IndentedJson(const Json::Value& value);

}  // namespace hvx::tools
