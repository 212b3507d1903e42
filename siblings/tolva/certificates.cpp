#include "siblings/tolva/certificates.h"

#include <algorithm>
#include <cctype>
#include <climits>

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/pem.h>

namespace tolva {

namespace {

struct BioDeleter {
    void operator()(BIO* bio) const { BIO_free(bio); }
};
using BioPtr = std::unique_ptr<BIO, BioDeleter>;

bool IsBlank(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; });
}

// After the last block PEM reading stops with "no start line"; anything else is damage.
bool EndedCleanly() {
    const unsigned long last = ERR_peek_last_error();
    return last == 0 ||
           (ERR_GET_LIB(last) == ERR_LIB_PEM && ERR_GET_REASON(last) == PEM_R_NO_START_LINE);
}

}  // namespace

ParsedCertificates ParsePemCertificates(std::string_view pem) {
    ParsedCertificates parsed;
    if (pem.size() > static_cast<std::size_t>(INT_MAX)) {
        return parsed;
    }
    const BioPtr bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
    if (!bio) {
        return parsed;
    }
    ERR_clear_error();
    while (X509Ptr certificate{PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr)}) {
        parsed.certificates.push_back(std::move(certificate));
    }
    parsed.complete = EndedCleanly() && (!parsed.certificates.empty() || IsBlank(pem));
    ERR_clear_error();
    return parsed;
}

}  // namespace tolva
