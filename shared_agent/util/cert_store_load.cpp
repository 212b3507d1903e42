// cert_store_load: the ROOT store's certificates, then the configured ones.
#include <openssl/err.h>

#include <new>

#include "platform/cert_store.h"
#include "platform/last_error.h"
#include "shared_agent/util/cert_store.h"
#include "shared_agent/util/cert_store_log.h"
#include "shared_agent/util/cert_store_state.h"
#include "support/trace_levels.h"

namespace hvx {

namespace {

constexpr const char16_t* kRootStoreName = u"ROOT";
// The longest display name asked for, in UTF-16 units with the zero.
constexpr DWORD kDisplayNameCapacity = 256;

std::size_t CountCertificates(os::CertStore& store) {
    std::size_t count = 0;
    os::CertEnumeration pass(store);
    while (pass.Next()) {
        ++count;
    }
    return count;
}

void TraceDisplayName(const os::CertEnumeration& pass) {
    char16_t name[kDisplayNameCapacity] = {};
    if (pass.DisplayName(name, kDisplayNameCapacity) <= 1) {
        hvx_error("cert_store_load(): CertGetName failed.");
        return;
    }
    certs::trace(kTraceAll, "cert_store_load(): Certificate for %ws", name);
}

// The current certificate decoded, or null after logging why it is skipped.
X509Ptr DecodeCurrent(const os::CertEnumeration& pass) {
    DWORD base64Length = 0;
    if (!os::GetBase64Length(pass.Encoded(), pass.EncodedSize(), &base64Length)) {
        hvx_error("cert_store_load(): Invalid certificate (CryptBinaryToString() %d)",
                  static_cast<int>(os::GetLastError()));
        return nullptr;
    }
    const unsigned char* next = pass.Encoded();
    X509Ptr decoded(d2i_X509(nullptr, &next, static_cast<long>(pass.EncodedSize())));
    if (!decoded) {
        ERR_clear_error();
        hvx_error("cert_store_load(): Failed to convert certificate to X509 format");
    }
    return decoded;
}

// Decodes the store's certificates into `roots`, at most `counted` of them.
void AddRoots(os::CertStore& store, std::size_t counted, std::vector<X509Ptr>& roots) {
    os::CertEnumeration pass(store);
    while (pass.Next()) {
        if (roots.size() == counted) {
            hvx_error(
                "cert_store_load(): Unexpected certificate count mismatch, not all certificates "
                "from store were added");
            return;
        }
        TraceDisplayName(pass);
        if (X509Ptr decoded = DecodeCurrent(pass)) {
            roots.push_back(std::move(decoded));
        }
    }
}

// Opens the ROOT store and decodes its certificates; -1 when there is nothing to decode.
int LoadRoots(std::vector<X509Ptr>& roots) {
    os::CertStoreHandle store = os::OpenSystemCertStore(kRootStoreName);
    if (!store) {
        hvx_error("cert_store_load(): The %ws store could not be opened.", kRootStoreName);
        return -1;
    }
    certs::trace(kTraceAll, "The %ws store has been opened.", kRootStoreName);
    const std::size_t counted = CountCertificates(*store);
    if (counted == 0) {
        hvx_error("cert_store_load(): no certificates were found in %ws store", kRootStoreName);
        return -1;
    }
    try {
        roots.reserve(counted);
    } catch (const std::bad_alloc&) {
        hvx_error("cert_store_load(): calloc failed");
        return -1;
    }
    AddRoots(*store, counted, roots);
    return 0;
}

}  // namespace

int cert_store_load(X509** certs, std::uint32_t count) {
    os::CriticalSectionLock lock(certs::StoreLock());
    std::vector<X509Ptr>& roots = certs::Store().roots;
    if (!roots.empty()) {
        hvx_error(
            "cert_store_load(): Certificates already loaded, unload certificates first to free "
            "existing certificates");
        return -1;
    }
    const int result = LoadRoots(roots);
    if (roots.empty()) {
        roots = std::vector<X509Ptr>();
        return -1;
    }
    if (result == 0 && _set_config_certs(certs, count) != 0) {
        hvx_error("cert_store_load: Failed to add trusted certs from config");
    }
    return result;
}

}  // namespace hvx
