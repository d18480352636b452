#pragma once

#include <memory>
#include <string>
#include <vector>

typedef struct x509_st X509;
typedef struct evp_pkey_st EVP_PKEY;

namespace tools::scenario {

// A certificate and its private key.
struct Identity {
    std::shared_ptr<X509> certificate;
    std::shared_ptr<EVP_PKEY> key;
};

// A certificate authority made for one run and thrown away after it: a new
// P-256 key and a self-signed certificate, valid from an hour ago for a day.
// A device that trusts it (see network::trustStorePath) trusts the server
// certificates it issues, and nothing it did not issue.
class CertificateAuthority {
public:
    // Throws std::runtime_error, with OpenSSL's reason, when the key or the
    // certificate cannot be made.
    CertificateAuthority();

    // The authority's certificate as PEM text, for a trust store.
    std::string certificatePem() const;

    // A server certificate for the host names given and for the loopback
    // address (127.0.0.1, ::1 and "localhost"), signed by this authority.
    Identity issue(const std::vector<std::string>& hostNames) const;

private:
    Identity m_identity;
};

} // namespace tools::scenario
