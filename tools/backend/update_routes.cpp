#include "tools/backend/update_routes.h"

#include <openssl/evp.h>

#include <array>
#include <exception>
#include <fstream>
#include <string_view>
#include <vector>

#include "tools/backend/http_date.h"
#include "tools/backend/signing_identity.h"
#include "tools/certgen/installer_signer.h"

namespace hvx::backend {
namespace {

constexpr const char* kXmlType = "application/xml";
constexpr std::size_t kHashBlock = std::size_t{1} << 20U;
constexpr int kNotModified = 304;
constexpr int kNotFound = 404;

struct DigestFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

// The SHA-256 of the file as lower-case hexadecimal; empty when it cannot be read.
std::string FileSha256(const std::filesystem::path& path) {
    const std::unique_ptr<EVP_MD_CTX, DigestFree> context(EVP_MD_CTX_new());
    std::ifstream file(path, std::ios::binary);
    if (!context || !file || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1) {
        return {};
    }
    std::vector<char> block(kHashBlock);
    while (file.read(block.data(), static_cast<std::streamsize>(block.size())) ||
           file.gcount() > 0) {
        EVP_DigestUpdate(context.get(), block.data(), static_cast<std::size_t>(file.gcount()));
    }
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned length = 0;
    if (EVP_DigestFinal_ex(context.get(), digest.data(), &length) != 1) {
        return {};
    }
    constexpr std::string_view kDigits = "0123456789abcdef";
    std::string hex;
    for (unsigned i = 0; i < length; ++i) {
        hex += kDigits[digest.at(i) >> 4U];
        hex += kDigits[digest.at(i) & 0xFU];
    }
    return hex;
}

std::string XmlEscaped(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string Element(const std::string& name, const std::string& text) {
    return "<" + name + ">" + XmlEscaped(text) + "</" + name + ">";
}

}  // namespace

UpdateRoutes::UpdateRoutes(std::filesystem::path folder, const StopSignal& stop)
    : m_files(std::move(folder), stop, "/update/files/(.+)"), m_seedTime(std::time(nullptr)) {}

std::unique_ptr<UpdateRoutes> UpdateRoutes::Make(const std::filesystem::path& folder,
                                                 const std::optional<UpdateOffer>& offer,
                                                 const StopSignal& stop, std::string& problem) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const auto root = std::filesystem::canonical(folder, error);
    const auto identity = error ? std::nullopt : PrepareSigningIdentity(root, problem);
    if (!identity) {
        problem = problem.empty() ? "no update folder at " + folder.string() : problem;
        return nullptr;
    }
    std::unique_ptr<UpdateRoutes> routes(new UpdateRoutes(root, stop));
    if (!offer) {
        return routes;
    }
    routes->m_offer = offer;
    routes->m_installerName = offer->installer.filename().string();
    try {
        certgen::SignFile(offer->installer, root / routes->m_installerName,
                          identity->certificate.get(), identity->key.get());
    } catch (const std::exception& failure) {
        problem = failure.what();
        return nullptr;
    }
    routes->m_hash = FileSha256(root / routes->m_installerName);
    return routes;
}

void UpdateRoutes::Register(httplib::Server& server) {
    m_files.Register(server);
    server.Get("/update/seed.xml",
               [this](const httplib::Request& request, httplib::Response& response) {
                   ServeSeed(request, response);
               });
}

void UpdateRoutes::ServeSeed(const httplib::Request& request, httplib::Response& response) const {
    if (!m_offer) {
        response.status = kNotFound;
        return;
    }
    response.set_header("Last-Modified", FormatHttpDate(m_seedTime));
    if (request.has_header("If-Modified-Since")) {
        const auto since = ParseHttpDate(request.get_header_value("If-Modified-Since"));
        if (since && m_seedTime <= *since) {
            response.status = kNotModified;
            return;
        }
    }
    const std::string location = std::string(request.ssl != nullptr ? "https" : "http") + "://" +
                                 request.get_header_value("Host") + "/update/files/" +
                                 m_installerName;
    std::string seed = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<update>" +
                       Element("location", location) + Element("hash", m_hash) +
                       Element("version", m_offer->version) +
                       Element("type", std::to_string(m_offer->type));
    for (const std::string& mask : m_offer->masks) {
        seed += Element("mask", mask);
    }
    response.set_content(seed + "</update>\n", kXmlType);
}

}  // namespace hvx::backend
