#include "tools/cli/tls_warning.h"

#include <atomic>

#include "support/tls_verification.h"
#include "tools/cli/agent_store.h"

namespace hvx::cli {

namespace {

constexpr std::u16string_view kSchemeSeparator = u"://";

std::atomic<bool> g_checked{false};

}  // namespace

void WarnIfVerificationOff(std::u16string_view url, std::ostream& err) {
    const std::size_t separator = url.find(kSchemeSeparator);
    if (separator == std::u16string_view::npos || !tls::IsHttpsScheme(url.substr(0, separator)) ||
        g_checked.exchange(true)) {
        return;
    }
    const std::unique_ptr<tolva::CConfig> store = LoadAgentStore();
    if (!store) {
        return;
    }
    for (const tls::Check& check : tls::kChecks) {
        const std::uint32_t stored = store->GetDword2(check.key);
        if (!tls::IsOn(stored)) {
            err << "caspo: warning: " << tls::OffWarning(check, stored) << '\n';
        }
    }
}

}  // namespace hvx::cli
