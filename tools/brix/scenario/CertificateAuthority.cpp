#include "tools/brix/scenario/CertificateAuthority.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <stdexcept>

namespace tools::scenario {

namespace {

    [[noreturn]] void failWithOpenSsl(const std::string& what)
    {
        char reason[256] = "unknown reason";
        if (unsigned long code = ERR_get_error())
            ERR_error_string_n(code, reason, sizeof reason);
        throw std::runtime_error("cannot make " + what + ": " + reason);
    }

    std::shared_ptr<EVP_PKEY> newKey()
    {
        EVP_PKEY* key = EVP_EC_gen("P-256");
        if (!key)
            failWithOpenSsl("a key");
        return { key, EVP_PKEY_free };
    }

    void addExtension(X509* certificate, X509* issuer, int nid, const std::string& value)
    {
        X509V3_CTX context;
        X509V3_set_ctx_nodb(&context);
        X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
        X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str());
        if (!extension || !X509_add_ext(certificate, extension, -1))
            failWithOpenSsl("a certificate extension (" + value + ")");
        X509_EXTENSION_free(extension);
    }

    // A certificate for `key` named `commonName`, valid from an hour ago for a day.
    std::shared_ptr<X509> newCertificate(EVP_PKEY* key, const std::string& commonName)
    {
        std::shared_ptr<X509> certificate(X509_new(), X509_free);
        if (!certificate)
            failWithOpenSsl("a certificate");
        X509* raw = certificate.get();
        X509_set_version(raw, 2);
        unsigned char serial[16];
        RAND_bytes(serial, sizeof serial);
        serial[0] &= 0x7f;
        BIGNUM* number = BN_bin2bn(serial, sizeof serial, nullptr);
        BN_to_ASN1_INTEGER(number, X509_get_serialNumber(raw));
        BN_free(number);
        X509_gmtime_adj(X509_getm_notBefore(raw), -3600);
        X509_gmtime_adj(X509_getm_notAfter(raw), 24 * 3600);
        X509_set_pubkey(raw, key);
        X509_NAME* name = X509_get_subject_name(raw);
        X509_NAME_add_entry_by_txt(
            name, "O", MBSTRING_UTF8, reinterpret_cast<const unsigned char*>("Brix scenario runner"), -1, -1, 0);
        X509_NAME_add_entry_by_txt(
            name, "CN", MBSTRING_UTF8, reinterpret_cast<const unsigned char*>(commonName.c_str()), -1, -1, 0);
        return certificate;
    }

    void sign(X509* certificate, EVP_PKEY* key)
    {
        if (!X509_sign(certificate, key, EVP_sha256()))
            failWithOpenSsl("a certificate signature");
    }

} // namespace

CertificateAuthority::CertificateAuthority()
{
    m_identity.key = newKey();
    m_identity.certificate = newCertificate(m_identity.key.get(), "Brix throw-away certificate authority");
    X509* raw = m_identity.certificate.get();
    X509_set_issuer_name(raw, X509_get_subject_name(raw));
    addExtension(raw, raw, NID_basic_constraints, "critical,CA:TRUE");
    addExtension(raw, raw, NID_key_usage, "critical,keyCertSign,cRLSign");
    addExtension(raw, raw, NID_subject_key_identifier, "hash");
    sign(raw, m_identity.key.get());
}

std::string CertificateAuthority::certificatePem() const
{
    std::unique_ptr<BIO, decltype(&BIO_free)> buffer(BIO_new(BIO_s_mem()), BIO_free);
    PEM_write_bio_X509(buffer.get(), m_identity.certificate.get());
    char* data = nullptr;
    long length = BIO_get_mem_data(buffer.get(), &data);
    return std::string(data, static_cast<size_t>(length));
}

Identity CertificateAuthority::issue(const std::vector<std::string>& hostNames) const
{
    Identity server;
    server.key = newKey();
    server.certificate = newCertificate(server.key.get(), hostNames.empty() ? "localhost" : hostNames.front());
    X509* raw = server.certificate.get();
    X509* issuer = m_identity.certificate.get();
    X509_set_issuer_name(raw, X509_get_subject_name(issuer));
    std::string names = "DNS:localhost,IP:127.0.0.1,IP:::1";
    for (auto& host : hostNames)
        names += ",DNS:" + host;
    addExtension(raw, issuer, NID_subject_alt_name, names);
    addExtension(raw, issuer, NID_basic_constraints, "critical,CA:FALSE");
    addExtension(raw, issuer, NID_key_usage, "critical,digitalSignature");
    addExtension(raw, issuer, NID_ext_key_usage, "serverAuth");
    addExtension(raw, issuer, NID_authority_key_identifier, "keyid:always");
    sign(raw, m_identity.key.get());
    return server;
}

} // namespace tools::scenario
