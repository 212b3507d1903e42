// What a command that makes requests prints: what happened (management commands), the status,
// the result code with its message, why the transfer failed when it did, and the body or the
// file, as text or (--json) as one JSON object on stdout. A failure also puts the code and its
// message on stderr, and the reason on a second line.
#pragma once

#include <json/json.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/base_types.h"
#include "tools/cli/commands.h"

namespace hvx::cli {

struct FileFacts {
    std::string path;
    std::optional<std::uintmax_t> size;  // nothing when no file is left at the path
};

struct Outcome {
    std::string command;
    HRESULT result = S_OK;
    // Requests only: the library reports the status of a request that succeeded.
    bool hasStatus = false;
    std::optional<std::uint32_t> status{};
    std::optional<std::string_view> body{};
    std::optional<FileFacts> file{};
    bool interrupted = false;
    // Why the transfer failed, in the engine's words (RequestWatch::ReasonFor); empty when it
    // did not.
    std::string reason{};
    // Management commands: "<command>: <what>" before the result, and their own JSON fields.
    std::string what{};
    Json::Value details{Json::objectValue};
};

// Prints the outcome and gives the exit status.
int Report(const Outcome& outcome, const Console& console);

}  // namespace hvx::cli
