#include "tools/cli/tls_warning.h"

#include "siblings/tolva/config.h"
#include "siblings/tolva/store_path.h"
#include "support/tls_verification.h"

namespace hvx::cli {

namespace {

constexpr std::u16string_view kSchemeSeparator = u"://";
constexpr int kLoaded = 1;

}  // namespace

void WarnIfVerificationOff(const std::u16string& url, std::ostream& err) {
    const std::size_t separator = url.find(kSchemeSeparator);
    if (separator == std::u16string::npos ||
        !tls::IsHttpsScheme(std::u16string_view(url).substr(0, separator))) {
        return;
    }
    // The path the library's store takes: --store has been put into TOLVA_STORE already.
    tolva::CConfig store(tolva::ResolveStorePath());
    if (store.Load(0) != kLoaded) {
        return;
    }
    for (const tls::Check& check : tls::kChecks) {
        const std::uint32_t stored = store.GetDword2(check.key);
        if (!tls::IsOn(stored)) {
            err << "caspo: warning: " << tls::OffWarning(check, stored) << '\n';
        }
    }
}

}  // namespace hvx::cli
