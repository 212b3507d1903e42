// PEM certificate lists: the text of one or more "-----BEGIN CERTIFICATE-----" blocks.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include <openssl/x509.h>

namespace tolva {

struct X509Deleter {
    void operator()(X509* certificate) const { X509_free(certificate); }
};
using X509Ptr = std::unique_ptr<X509, X509Deleter>;

struct ParsedCertificates {
    std::vector<X509Ptr> certificates;  // in the order of the text
    // False when a block could not be decoded (parsing stops there) or when text that is not
    // blank holds no certificate at all. Text around and between the blocks is allowed.
    bool complete = false;
};

ParsedCertificates ParsePemCertificates(std::string_view pem);

}  // namespace tolva
