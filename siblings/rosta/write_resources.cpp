// Writes rosta's resources for the resource compiler of the Windows build:
//   write_resources MESSAGES.bin SCRIPT.rc
// MESSAGES.bin is the message table (tables.h), byte for byte; SCRIPT.rc names it as message
// table 1 and holds the strings of texts.h as a string table, both in English (United States).
// Built and run on the build machine; exit status 1 when a file cannot be written.
#include <array>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

#include "siblings/rosta/tables.h"

namespace {

// A UTF-16 text as the body of a wide string of a resource script: printable ASCII as it is,
// quotes and backslashes escaped, everything else as a \x escape of its unit.
std::string ScriptText(std::u16string_view text) {
    std::string out;
    for (const char16_t unit : text) {
        if (unit == u'"') {
            out += "\"\"";
        } else if (unit == u'\\') {
            out += "\\\\";
        } else if (unit >= 0x20 && unit < 0x7F) {
            out += static_cast<char>(unit);
        } else {
            std::array<char, 8> escape{};
            static_cast<void>(std::snprintf(escape.data(), escape.size(), "\\x%04x",
                                            static_cast<unsigned>(unit)));
            out += escape.data();
        }
    }
    return out;
}

std::string Script(const std::string& messagesFile) {
    std::string script = "LANGUAGE 0x09, 0x01\n";
    script += "1 MESSAGETABLE \"" + messagesFile + "\"\n";
    script += "STRINGTABLE\nBEGIN\n";
    for (const hvx::os::ResourceText& text : hvx::rosta::kStrings) {
        script += "    " + std::to_string(text.id) + ", L\"" + ScriptText(text.text) + "\"\n";
    }
    script += "END\n";
    return script;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        static_cast<void>(std::fputs("usage: write_resources MESSAGES.bin SCRIPT.rc\n", stderr));
        return 1;
    }
    const std::string messagesFile = argv[1];
    std::ofstream messages(messagesFile, std::ios::binary | std::ios::trunc);
    messages.write(reinterpret_cast<const char*>(hvx::rosta::kMessageTable.data()),
                   static_cast<std::streamsize>(hvx::rosta::kMessageTable.size()));
    std::ofstream script(argv[2], std::ios::trunc);
    script << Script(messagesFile);
    messages.close();
    script.close();
    return messages && script ? 0 : 1;
}
