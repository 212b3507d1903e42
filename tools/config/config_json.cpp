#include "tools/config/config_json.h"

#include <memory>

#include <json/json.h>

#include "tools/config/value_text.h"

namespace hvx::config_tool {

namespace {

constexpr const char* kTypeMember = "type";
// The deepest document the import takes is two objects deep; the reader recurses once per
// level, so nesting is bounded far below what the stack could bear.
constexpr int kNestingLimit = 16;
constexpr const char* kValueMember = "value";

Json::Value ToJson(const tolva::Value& value) {
    switch (value.type) {
        case tolva::ValueType::Dword:
            return Json::UInt{value.number};
        case tolva::ValueType::Wide:
            return value.text;
        case tolva::ValueType::Narrow:
        case tolva::ValueType::Cert:
            break;
    }
    Json::Value spelt(Json::objectValue);
    spelt[kTypeMember] = std::string(tolva::TypeName(value.type));
    spelt[kValueMember] = value.text;
    return spelt;
}

ParsedValue FromJson(tolva::ValueType type, const Json::Value& json) {
    if (json.isString()) {
        return ParseValue(type, json.asString());
    }
    if (type == tolva::ValueType::Dword && json.isUInt()) {
        return {tolva::Value::Dword(json.asUInt()), {}};
    }
    return {std::nullopt, "not a JSON string or a number from 0 to 4294967295"};
}

ParsedValue FromSpeltJson(const Json::Value& json) {
    const Json::Value& type = json[kTypeMember];
    const auto parsedType = type.isString() ? tolva::ParseTypeName(type.asString()) : std::nullopt;
    if (json.size() != 2 || !parsedType || !json.isMember(kValueMember)) {
        return {std::nullopt,
                R"(an object needs exactly "type" (wide, narrow, dword or cert) and "value")"};
    }
    return FromJson(*parsedType, json[kValueMember]);
}

ParsedValue EntryValue(const Json::Value& json) {
    if (json.isObject()) {
        return FromSpeltJson(json);
    }
    return FromJson(json.isNumeric() ? tolva::ValueType::Dword : tolva::ValueType::Wide, json);
}

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

// The document's root, or (null) one line saying what is wrong with it.
Json::Value ParseDocument(const std::string& text, std::string& problem) {
    Json::CharReaderBuilder builder;
    builder["rejectDupKeys"] = true;
    builder["failIfExtra"] = true;
    builder["stackLimit"] = kNestingLimit;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    std::string errors;
    try {
        if (reader->parse(text.data(), text.data() + text.size(), &root, &errors)) {
            return root;
        }
    } catch (const Json::Exception& failure) {
        // jsoncpp throws rather than reports a document nested past the limit.
        errors = failure.what();
    }
    problem = "not valid JSON: " + FirstLine(errors);
    return Json::nullValue;
}

}  // namespace

std::string ExportJson(const std::vector<tolva::Entry>& entries) {
    Json::Value root(Json::objectValue);
    for (const auto& [key, value] : entries) {
        root[key] = ToJson(value);
    }
    Json::StreamWriterBuilder writer;
    writer["indentation"] = "  ";
    writer["emitUTF8"] = true;
    return Json::writeString(writer, root) + "\n";
}

ImportedEntries ParseImportJson(const std::string& text) {
    std::string problem;
    const Json::Value root = ParseDocument(text, problem);
    if (!problem.empty()) {
        return {{}, std::move(problem)};
    }
    if (!root.isObject()) {
        return {{}, "the JSON is not an object of key -> value"};
    }
    ImportedEntries imported;
    for (const auto& key : root.getMemberNames()) {
        auto keyProblem = KeyProblemText(key);
        if (!keyProblem.empty()) {
            return {{}, std::move(keyProblem)};
        }
        auto parsed = EntryValue(root[key]);
        if (!parsed.value) {
            return {{}, "bad value for " + key + ": " + parsed.problem};
        }
        imported.entries.emplace_back(key, std::move(*parsed.value));
    }
    return imported;
}

}  // namespace hvx::config_tool
