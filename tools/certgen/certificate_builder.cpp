#include "tools/certgen/certificate_builder.h"

#include <openssl/rand.h>

#include <cstdint>
#include <stdexcept>

namespace hvx::certgen {
namespace {

void Check(bool ok, const char* what) {
    if (!ok) {
        throw std::runtime_error(std::string("certificates: ") + what);
    }
}

long SecondsOf(std::chrono::hours offset) {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::seconds>(offset).count());
}

// Random serial numbers: certificates made by different runs under the same issuer name (the
// backend's CA made anew in a folder) must not share one.
std::uint64_t RandomSerial() {
    std::uint64_t serial = 0;
    Check(RAND_bytes(reinterpret_cast<unsigned char*>(&serial), sizeof serial) == 1, "serial");
    constexpr std::uint64_t kPositive = 0x7fffffffffffffffULL;
    return (serial & kPositive) | 1U;
}

void AddExtension(X509* certificate, X509V3_CTX* context, int nid, const std::string& value) {
    const ExtensionPtr extension(X509V3_EXT_conf_nid(nullptr, context, nid, value.c_str()));
    Check(extension != nullptr, "extension");
    Check(X509_add_ext(certificate, extension.get(), -1) == 1, "add extension");
}

std::string JoinAltNames(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names) {
        joined += (joined.empty() ? "" : ",") + name;
    }
    return joined;
}

void AddExtensions(X509* certificate, const X509* issuer, const CertificateRequest& request) {
    X509V3_CTX context{};
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, const_cast<X509*>(issuer != nullptr ? issuer : certificate),
                   certificate, nullptr, nullptr, 0);
    if (request.isCa) {
        AddExtension(certificate, &context, NID_basic_constraints, "critical,CA:TRUE");
        AddExtension(certificate, &context, NID_key_usage, "critical,keyCertSign,cRLSign");
    } else {
        AddExtension(certificate, &context, NID_basic_constraints, "critical,CA:FALSE");
        AddExtension(certificate, &context, NID_key_usage, "critical,digitalSignature");
        AddExtension(certificate, &context, NID_ext_key_usage, request.extendedKeyUsage);
    }
    if (!request.altNames.empty()) {
        AddExtension(certificate, &context, NID_subject_alt_name, JoinAltNames(request.altNames));
    }
}

}  // namespace

KeyPtr MakeKey() {
    KeyPtr key(EVP_EC_gen("P-256"));
    Check(key != nullptr, "key generation");
    return key;
}

X509Ptr MakeCertificate(const CertificateRequest& request, EVP_PKEY* key, const X509* issuer,
                        EVP_PKEY* issuerKey) {
    X509Ptr certificate(X509_new());
    Check(certificate != nullptr, "X509_new");
    X509* cert = certificate.get();
    Check(X509_set_version(cert, X509_VERSION_3) == 1, "version");
    Check(ASN1_INTEGER_set_uint64(X509_get_serialNumber(cert), RandomSerial()) == 1, "serial");
    Check(X509_gmtime_adj(X509_getm_notBefore(cert), SecondsOf(request.notBefore)) != nullptr,
          "not before");
    Check(X509_gmtime_adj(X509_getm_notAfter(cert), SecondsOf(request.notAfter)) != nullptr,
          "not after");
    Check(X509_set_pubkey(cert, key) == 1, "public key");
    X509_NAME* subject = X509_get_subject_name(cert);
    Check(X509_NAME_add_entry_by_txt(
              subject, "CN", MBSTRING_UTF8,
              reinterpret_cast<const unsigned char*>(request.commonName.c_str()), -1, -1, 0) == 1,
          "common name");
    Check(X509_set_issuer_name(cert, issuer != nullptr ? X509_get_subject_name(issuer) : subject) ==
              1,
          "issuer");
    AddExtensions(cert, issuer, request);
    Check(X509_sign(cert, issuer != nullptr ? issuerKey : key, EVP_sha256()) > 0, "signature");
    return certificate;
}

}  // namespace hvx::certgen
