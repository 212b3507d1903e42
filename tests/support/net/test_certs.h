// Certificates for TLS tests, made at run time with the OpenSSL API into a temporary folder that
// is removed again with the object. Each comes as PEM text and as PEM files.
//
//   Ca()              the test CA (self-signed); trusting it makes Server() trusted
//   Server()          127.0.0.1 and localhost (subjectAltName IP and DNS), signed by Ca()
//   Expired()         the same names, signed by Ca(), expired since yesterday
//   NotYetValid()     the same names, signed by Ca(), valid from tomorrow
//   SelfSigned()      the same names, signed by its own key
//   OtherHost()       only the host name "other.invalid", signed by Ca()
//   UntrustedCa()     a second CA that no test trusts
//   UntrustedServer() 127.0.0.1 and localhost, signed by UntrustedCa()
#pragma once

#include <filesystem>
#include <string>

#include "tests/support/temp_dir.h"

namespace hvx::test {

struct PemIdentity {
    std::string certificatePem;
    std::string keyPem;
    std::filesystem::path certificateFile;
    std::filesystem::path keyFile;
};

class TestCertificates {
public:
    // Makes every certificate; throws std::runtime_error when OpenSSL or the folder fails.
    TestCertificates();
    ~TestCertificates() = default;
    TestCertificates(const TestCertificates&) = delete;
    TestCertificates& operator=(const TestCertificates&) = delete;
    TestCertificates(TestCertificates&&) = delete;
    TestCertificates& operator=(TestCertificates&&) = delete;

    // One set for the whole test program, made on first use.
    static const TestCertificates& Shared();

    const PemIdentity& Ca() const { return m_ca; }
    const PemIdentity& Server() const { return m_server; }
    const PemIdentity& Expired() const { return m_expired; }
    const PemIdentity& NotYetValid() const { return m_notYetValid; }
    const PemIdentity& SelfSigned() const { return m_selfSigned; }
    const PemIdentity& OtherHost() const { return m_otherHost; }
    const PemIdentity& UntrustedCa() const { return m_untrustedCa; }
    const PemIdentity& UntrustedServer() const { return m_untrustedServer; }
    const std::filesystem::path& Folder() const { return m_folder.path(); }

private:
    TempDir m_folder;
    PemIdentity m_ca;
    PemIdentity m_server;
    PemIdentity m_expired;
    PemIdentity m_notYetValid;
    PemIdentity m_selfSigned;
    PemIdentity m_otherHost;
    PemIdentity m_untrustedCa;
    PemIdentity m_untrustedServer;
};

}  // namespace hvx::test
