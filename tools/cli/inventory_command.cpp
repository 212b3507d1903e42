// caspo inventory KIND FILE: the report in FILE (UTF-8 text) sent by the library's inventory
// client to the endpoint of KIND (product, product_details, update, update_details, or 0 to 3),
// which the store holds.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/config_keys.h"
#include "tools/cli/agent_store.h"
#include "tools/cli/client_objects.h"
#include "tools/cli/commands.h"
#include "tools/cli/report.h"
#include "tools/cli/request_watch.h"
#include "tools/cli/wide_text.h"
#include "tools/common/whole_file.h"

namespace hvx::cli {

namespace {

constexpr const char* kUsage =
    "usage: caspo inventory product|product_details|update|update_details|0-3 FILE\n";
constexpr std::array<std::string_view, 4> kKindNames = {"product", "product_details", "update",
                                                        "update_details"};
constexpr std::array<const char*, 4> kKindEndpoints = {
    keys::kInventoryProduct, keys::kInventoryProductDetails, keys::kInventoryUpdate,
    keys::kInventoryUpdateDetails};
// A report larger than this is not read.
constexpr std::size_t kMaxReport = std::size_t{16} << 20U;

std::optional<std::uint32_t> ReadKind(const std::string& word) {
    for (std::uint32_t kind = 0; kind < kKindNames.size(); ++kind) {
        if (word == kKindNames.at(kind) || word == std::to_string(kind)) {
            return kind;
        }
    }
    return std::nullopt;
}

}  // namespace

int RunInventoryCommand(const std::vector<std::string>& operands, const Console& console) {
    const auto kind = operands.size() == 2 ? ReadKind(operands[0]) : std::nullopt;
    if (!kind) {
        console.err << "caspo inventory: a kind and a file are needed\n" << kUsage;
        return kExitUsage;
    }
    const auto text = tools::ReadWholeFile(operands[1]);
    const auto report = text && text->size() <= kMaxReport ? Widen(*text) : std::nullopt;
    if (!report) {
        console.err << "caspo inventory: " << operands[1]
                    << " cannot be read as UTF-8 text of at most 16 MiB\n";
        return kExitFailure;
    }
    const CaspoLibrary library;
    const InventoryPtr client =
        library.Loaded() ? NewInventory(library) : InventoryPtr(nullptr, nullptr);
    if (!client) {
        console.err << "caspo inventory: "
                    << (library.Loaded() ? "no inventory client" : library.Problem()) << '\n';
        return kExitFailure;
    }
    Outcome outcome{.command = "inventory", .hasStatus = true};
    static_cast<void>(client->Init());
    const RequestWatch watch(StoredText(kKindEndpoints.at(*kind)), console.err);
    std::uint32_t status = 0;
    BSTR answer = nullptr;
    outcome.result = client->SendData(*kind, report->c_str(), &status, &answer);
    outcome.reason = watch.ReasonFor(outcome.result);
    const std::string body = TakeText(library, answer);
    if (SUCCEEDED(outcome.result)) {
        outcome.status = status;
        outcome.body = body;
    }
    return Report(outcome, console);
}

}  // namespace hvx::cli
