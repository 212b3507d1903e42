// The tool's JSON form of the store: one object of key -> value. A JSON number is a dword and
// a JSON string is wide text; {"type": "wide"|"narrow"|"dword"|"cert", "value": ...} spells
// any type. Export writes numbers and wide text in the short form, the rest spelt out, so an
// export imports back to the same types.
#pragma once

#include <string>
#include <vector>

#include "siblings/tolva/store.h"

namespace hvx::config_tool {

// The entries as a JSON object, keys in order, UTF-8, ending with a line end.
std::string ExportJson(const std::vector<tolva::Entry>& entries);

// Entries read from JSON text, or (entries empty) one line saying what is wrong with it.
struct ImportedEntries {
    std::vector<tolva::Entry> entries;
    std::string problem;
};
ImportedEntries ParseImportJson(const std::string& text);

}  // namespace hvx::config_tool
