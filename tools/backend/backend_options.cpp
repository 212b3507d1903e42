#include "tools/backend/backend_options.h"

#include <charconv>
#include <functional>
#include <map>

namespace hvx::backend {
namespace {

using ValueSetter = std::function<bool(BackendOptions&, const std::string&)>;

[[nodiscard]] bool ReadPort(const std::string& text, std::uint16_t& port) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, port);
    return !text.empty() && error == std::errc{} && stop == end;
}

// VERSION=FILE.
bool ReadOffer(BackendOptions& options, const std::string& value) {
    const std::size_t equals = value.find('=');
    if (equals == 0 || equals == std::string::npos || equals + 1 == value.size()) {
        return false;
    }
    options.offer = UpdateOffer{value.substr(0, equals), value.substr(equals + 1), {}, 1};
    return true;
}

const std::map<std::string, ValueSetter>& ValueOptions() {
    static const std::map<std::string, ValueSetter> options = {
        {"--listen",
         [](BackendOptions& o, const std::string& v) {
             o.listenAddress = v;
             return !v.empty();
         }},
        {"--http-port",
         [](BackendOptions& o, const std::string& v) { return ReadPort(v, o.httpPort); }},
        {"--https-port",
         [](BackendOptions& o, const std::string& v) { return ReadPort(v, o.httpsPort); }},
        {"--tls-dir",
         [](BackendOptions& o, const std::string& v) {
             o.tlsDir = v;
             return !v.empty();
         }},
        {"--files",
         [](BackendOptions& o, const std::string& v) {
             o.filesDir = v;
             return !v.empty();
         }},
        {"--ready-file",
         [](BackendOptions& o, const std::string& v) {
             o.readyFile = v;
             return !v.empty();
         }},
        {"--upload-dir",
         [](BackendOptions& o, const std::string& v) {
             o.uploadDir = v;
             return !v.empty();
         }},
        {"--upload-user",
         [](BackendOptions& o, const std::string& v) {
             o.uploadUser = v;
             return v.find(':') != std::string::npos;
         }},
        {"--update-dir",
         [](BackendOptions& o, const std::string& v) {
             o.updateDir = v;
             return !v.empty();
         }},
        {"--offer", ReadOffer},
        {"--offer-mask",
         [](BackendOptions& o, const std::string& v) {
             if (!o.offer) {
                 return false;
             }
             o.offer->masks.push_back(v);
             return true;
         }},
        {"--offer-type",
         [](BackendOptions& o, const std::string& v) {
             const char* end = v.data() + v.size();
             return o.offer && !v.empty() &&
                    std::from_chars(v.data(), end, o.offer->type).ptr == end;
         }},
        {"--policies",
         [](BackendOptions& o, const std::string& v) {
             o.policyDir = v;
             return !v.empty();
         }},
        {"--record",
         [](BackendOptions& o, const std::string& v) {
             o.recordFile = v;
             return !v.empty();
         }},
        {"--rule",
         [](BackendOptions& o, const std::string& v) {
             o.managementRules.push_back(v);
             return !v.empty();
         }},
    };
    return options;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    BackendOptions options;
    bool httpsPortGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "-h" || name == "--help") {
            return {std::nullopt, true, {}};
        }
        if (name == "-v" || name == "--verbose") {
            options.verbose = true;
            continue;
        }
        const auto setter = ValueOptions().find(name);
        if (setter == ValueOptions().end()) {
            return {std::nullopt, false, "unknown option " + name};
        }
        if (i + 1 == arguments.size() || !setter->second(options, arguments[i + 1])) {
            return {std::nullopt, false,
                    name + " needs a value" + (name.ends_with("-port") ? " from 0 to 65535" : "")};
        }
        httpsPortGiven = httpsPortGiven || name == "--https-port";
        ++i;
    }
    if (httpsPortGiven && !options.tlsDir) {
        return {std::nullopt, false, "--https-port needs --tls-dir"};
    }
    if (options.offer && !options.updateDir) {
        return {std::nullopt, false, "--offer needs --update-dir"};
    }
    return {std::move(options), false, {}};
}

std::string UsageText() {
    return "usage: caspo-backend [options]\n"
           "  --listen ADDR       address to listen on (default 127.0.0.1)\n"
           "  --http-port N       HTTP port (default 0: a free port)\n"
           "  --tls-dir DIR       serve HTTPS too, with the CA and server certificate in DIR\n"
           "                      (made there when missing); writes DIR/ca.pem, DIR/trust.json\n"
           "  --https-port N      HTTPS port (default 0: a free port)\n"
           "  --files DIR         serve DIR under /files/\n"
           "  --ready-file PATH   once listening, write the URLs as JSON to PATH\n"
           "  --upload-dir DIR    store the files of uploads to /upload in DIR\n"
           "  --upload-user U:P   uploads must carry these basic-authentication credentials\n"
           "  --update-dir DIR    serve updates from DIR (its signing key and signed files)\n"
           "  --offer VER=FILE    sign FILE into the update folder and offer it as version VER\n"
           "  --offer-mask PREFIX offer it only to agents whose identifier starts so (repeatable)\n"
           "  --offer-type N      the offer's update type (default 1)\n"
           "  --policies DIR      serve policy files of DIR by serial under /policy/\n"
           "  --record FILE       append each management request to FILE as a JSON line\n"
           "  --rule ROUTE=ANSWER how a management route answers (repeatable; docs/backend.md)\n"
           "  -v, --verbose       one line per request on stderr\n"
           "  -h, --help          this text\n"
           "Stops on SIGINT or SIGTERM.\n";
}

}  // namespace hvx::backend
