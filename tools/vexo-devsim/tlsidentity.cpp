// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "tlsidentity.h"

#include <openssl/bn.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>

#include <memory>

namespace {

template<typename T, void (*Free)(T *)>
struct Deleter
{
    void operator()(T *p) const { Free(p); }
};
using Key = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY, EVP_PKEY_free>>;
using Certificate = std::unique_ptr<X509, Deleter<X509, X509_free>>;
using Memory = std::unique_ptr<BIO, Deleter<BIO, BIO_free_all>>;
using Number = std::unique_ptr<BIGNUM, Deleter<BIGNUM, BN_free>>;

QByteArray bioBytes(BIO *bio)
{
    char *data = nullptr;
    const long size = BIO_get_mem_data(bio, &data);
    return size > 0 ? QByteArray(data, size) : QByteArray();
}

QString lastError()
{
    char text[256] = {};
    ERR_error_string_n(ERR_get_error(), text, sizeof text);
    return QString::fromLatin1(text);
}

} // namespace

std::optional<TlsIdentity> makeSelfSignedIdentity(const QString &commonName, QString *error)
{
    auto refuse = [error](const char *step) {
        *error = QStringLiteral("%1: %2").arg(QLatin1String(step), lastError());
        return std::nullopt;
    };
    Key key(EVP_EC_gen("P-256"));
    if (!key)
        return refuse("key");
    Certificate cert(X509_new());
    Number serial(BN_new());
    if (!cert || !serial || !BN_rand(serial.get(), 120, BN_RAND_TOP_ANY, BN_RAND_BOTTOM_ANY)
        || !BN_to_ASN1_INTEGER(serial.get(), X509_get_serialNumber(cert.get())) || !X509_set_version(cert.get(), 2))
        return refuse("certificate");
    constexpr long kTenYears = 10L * 365 * 24 * 3600;
    if (!X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600)
        || !X509_gmtime_adj(X509_getm_notAfter(cert.get()), kTenYears))
        return refuse("validity");
    X509_NAME *name = X509_get_subject_name(cert.get());
    const QByteArray cn = commonName.toUtf8().left(64);
    if (!X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8, reinterpret_cast<const unsigned char *>(cn.constData()),
                                    int(cn.size()), -1, 0)
        || !X509_set_issuer_name(cert.get(), name) || !X509_set_pubkey(cert.get(), key.get())
        || !X509_sign(cert.get(), key.get(), EVP_sha256()))
        return refuse("signature");
    Memory certOut(BIO_new(BIO_s_mem())), keyOut(BIO_new(BIO_s_mem()));
    if (!certOut || !keyOut || !PEM_write_bio_X509(certOut.get(), cert.get())
        || !PEM_write_bio_PrivateKey(keyOut.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr))
        return refuse("PEM");
    return TlsIdentity{bioBytes(certOut.get()), bioBytes(keyOut.get())};
}
