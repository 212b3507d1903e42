// Feeds the configuration tool's JSON import arbitrary text. What must hold:
// - text that is refused gives a problem and no entries;
// - accepted entries, exported and imported again, are the same entries;
// - the import command puts them into a store in a fresh file, and the export command then
//   prints exactly their export: every key, type and value survived the database.
// The store lives in a folder of its own under /dev/shm when there is one (saving syncs the
// file, which costs nothing there), removed when the run ends.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "siblings/venit/venit.h"
#include "tools/config/config_commands.h"
#include "tools/config/config_json.h"

namespace {

using hvx::fuzz::Check;
namespace fs = std::filesystem;

// A folder for the store and the imported file, removed with everything in it at exit.
class WorkFolder {
public:
    WorkFolder() {
        const fs::path base =
            fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "caspo-config-fuzz-XXXXXX").string();
        Check(::mkdtemp(pattern.data()) != nullptr);
        m_path = pattern;
    }
    ~WorkFolder() {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    WorkFolder(WorkFolder&&) = delete;
    WorkFolder& operator=(WorkFolder&&) = delete;

    std::string Store() const { return (m_path / "store.db").string(); }
    std::string Import() const { return (m_path / "import.json").string(); }

    // Removes the store of the previous run, its journal included.
    void ClearStore() const {
        for (const auto& entry : fs::directory_iterator(m_path)) {
            fs::remove(entry.path());
        }
    }

private:
    fs::path m_path;
};

const WorkFolder& Folder() {
    static const WorkFolder folder;
    return folder;
}

int RunCommand(const std::vector<std::string>& args, std::string& printed) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = hvx::config_tool::RunConfigCommand(args, out, err);
    printed = out.str();
    return status;
}

// Imports `text` into a fresh store with the import command; what the export command prints.
std::string ImportAndExport(const std::string& text) {
    const WorkFolder& folder = Folder();
    folder.ClearStore();
    {
        std::ofstream file(folder.Import(), std::ios::binary);
        file << text;
        Check(file.good());
    }
    std::string printed;
    Check(RunCommand({"--store", folder.Store(), "import", folder.Import()}, printed) == 0);
    Check(RunCommand({"--store", folder.Store(), "export"}, printed) == 0);
    return printed;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    venit::SetLogFile("");
    static_cast<void>(Folder());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto imported = hvx::config_tool::ParseImportJson(text);
    if (!imported.problem.empty()) {
        Check(imported.entries.empty());
        return 0;
    }
    const std::string exported = hvx::config_tool::ExportJson(imported.entries);
    const auto again = hvx::config_tool::ParseImportJson(exported);
    Check(again.problem.empty() && again.entries == imported.entries);
    Check(ImportAndExport(text) == exported);
    return 0;
}
