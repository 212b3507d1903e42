#include "tools/backend/basic_auth.h"

#include <openssl/evp.h>

#include <vector>

namespace hvx::backend {
namespace {

constexpr std::string_view kBasic = "Basic ";
// Longer credentials are not read.
constexpr std::size_t kMaxEncoded = 4096;

std::optional<std::string> DecodeBase64(const std::string& text) {
    if (text.empty() || text.size() > kMaxEncoded || text.size() % 4 != 0) {
        return std::nullopt;
    }
    std::vector<unsigned char> decoded(text.size() / 4 * 3);
    const int length =
        EVP_DecodeBlock(decoded.data(), reinterpret_cast<const unsigned char*>(text.data()),
                        static_cast<int>(text.size()));
    if (length < 0) {
        return std::nullopt;
    }
    // EVP_DecodeBlock counts the padding as zero bytes.
    auto size = static_cast<std::size_t>(length);
    for (std::size_t i = text.size(); i > 0 && text[i - 1] == '=' && size > 0; --i) {
        --size;
    }
    return std::string(decoded.begin(), decoded.begin() + static_cast<std::ptrdiff_t>(size));
}

}  // namespace

std::optional<Credentials> BasicCredentials(const httplib::Request& request) {
    const std::string header = request.get_header_value("Authorization");
    if (!header.starts_with(kBasic)) {
        return std::nullopt;
    }
    const auto decoded = DecodeBase64(header.substr(kBasic.size()));
    const std::size_t colon = decoded ? decoded->find(':') : std::string::npos;
    if (colon == std::string::npos) {
        return std::nullopt;
    }
    return Credentials{decoded->substr(0, colon), decoded->substr(colon + 1)};
}

}  // namespace hvx::backend
