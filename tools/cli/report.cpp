#include "tools/cli/report.h"

#include <json/json.h>

#include <memory>

#include "tools/cli/result_text.h"

namespace hvx::cli {

namespace {

Json::Value AsJson(const Outcome& outcome) {
    Json::Value root = outcome.details;
    root["command"] = outcome.command;
    if (!outcome.what.empty()) {
        root["what"] = outcome.what;
    }
    if (outcome.hasStatus) {
        root["status"] = outcome.status ? Json::Value(*outcome.status) : Json::Value();
    }
    root["result"] = ResultHex(outcome.result);
    root["message"] = ResultMessage(outcome.result);
    if (!outcome.reason.empty()) {
        root["reason"] = outcome.reason;
    }
    if (outcome.body) {
        root["body"] = std::string(*outcome.body);
    }
    if (outcome.file) {
        root["file"] = outcome.file->path;
        root["size"] =
            outcome.file->size ? Json::Value(Json::UInt64{*outcome.file->size}) : Json::Value();
    }
    root["interrupted"] = outcome.interrupted;
    return root;
}

void PrintJson(const Outcome& outcome, std::ostream& out) {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    const std::unique_ptr<Json::StreamWriter> writer(builder.newStreamWriter());
    writer->write(AsJson(outcome), &out);
    out << '\n';
}

void PrintText(const Outcome& outcome, std::ostream& out) {
    if (!outcome.what.empty()) {
        out << outcome.command << ": " << outcome.what << '\n';
    }
    if (outcome.hasStatus) {
        out << "status: ";
        if (outcome.status) {
            out << *outcome.status << '\n';
        } else {
            out << "none (the library reports no status for a failed request)\n";
        }
    }
    out << "result: " << ResultHex(outcome.result) << ' ' << ResultMessage(outcome.result) << '\n';
    if (!outcome.reason.empty()) {
        out << "reason: " << outcome.reason << '\n';
    }
    if (outcome.file) {
        out << "file: " << outcome.file->path;
        if (outcome.file->size) {
            out << " (" << *outcome.file->size << " bytes)\n";
        } else {
            out << " (none left)\n";
        }
    }
    if (outcome.body) {
        out << '\n' << *outcome.body;
        if (!outcome.body->empty() && outcome.body->back() != '\n') {
            out << '\n';
        }
    }
}

}  // namespace

int Report(const Outcome& outcome, const Console& console) {
    if (console.options.json) {
        PrintJson(outcome, console.out);
    } else {
        PrintText(outcome, console.out);
    }
    console.out << std::flush;
    if (outcome.interrupted) {
        console.err << "caspo " << outcome.command << ": interrupted\n";
        return kExitInterrupted;
    }
    if (FAILED(outcome.result)) {
        console.err << "caspo " << outcome.command << ": " << ResultHex(outcome.result) << ' '
                    << ResultMessage(outcome.result) << '\n';
        if (!outcome.reason.empty()) {
            console.err << "caspo " << outcome.command << ": " << outcome.reason << '\n';
        }
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace hvx::cli
