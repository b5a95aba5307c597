#pragma once

#include "LoopbackHttpServer.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QString>

#include <sodium.h>

/// A throwaway minisign key pair made when the test runs, and signatures in minisign's own file format. The
/// project's real private key never comes near a test.
class TestSigningKey
{
public:
    TestSigningKey()
    {
        if (sodium_init() < 0)
            qFatal("libsodium could not be initialised");
        m_keyId = QByteArray(8, Qt::Uninitialized);
        randombytes_buf(m_keyId.data(), size_t(m_keyId.size()));
        m_public = QByteArray(crypto_sign_PUBLICKEYBYTES, Qt::Uninitialized);
        m_secret = QByteArray(crypto_sign_SECRETKEYBYTES, Qt::Uninitialized);
        crypto_sign_keypair(reinterpret_cast<unsigned char*>(m_public.data()),
                            reinterpret_cast<unsigned char*>(m_secret.data()));
    }

    /// The key as a publisher puts it into the build: the "RW..." line of minisign.pub.
    QString publicKey() const { return QString::fromLatin1(("Ed" + m_keyId + m_public).toBase64()); }

    /// A ".minisig" file for `data`: prehashed ("ED", minisign's default) or over the data itself ("Ed").
    QByteArray sign(const QByteArray& data, bool prehashed = true,
                    const QByteArray& trustedComment = "timestamp:1700000000\tfile:helper.inf\thashed") const
    {
        QByteArray message = data;
        if (prehashed) {
            message = QByteArray(crypto_generichash_BYTES_MAX, Qt::Uninitialized);
            crypto_generichash(reinterpret_cast<unsigned char*>(message.data()), size_t(message.size()),
                               reinterpret_cast<const unsigned char*>(data.constData()), quint64(data.size()), nullptr,
                               0);
        }
        const QByteArray signature = detached(message);
        return "untrusted comment: signature from a test key\n"
            + ((prehashed ? "ED" : "Ed") + m_keyId + signature).toBase64() + "\ntrusted comment: " + trustedComment
            + "\n" + detached(signature + trustedComment).toBase64() + "\n";
    }

private:
    QByteArray detached(const QByteArray& message) const
    {
        QByteArray signature(crypto_sign_BYTES, Qt::Uninitialized);
        crypto_sign_detached(reinterpret_cast<unsigned char*>(signature.data()), nullptr,
                             reinterpret_cast<const unsigned char*>(message.constData()), quint64(message.size()),
                             reinterpret_cast<const unsigned char*>(m_secret.constData()));
        return signature;
    }

    QByteArray m_keyId;
    QByteArray m_public;
    QByteArray m_secret;
};

/// The size and SHA-256 keys of a listed file, numbered like its address key ("", "0", "3", ...).
inline QByteArray fileChecks(const QByteArray& number, const QByteArray& content)
{
    return "#size" + number + "=" + QByteArray::number(content.size()) + "\r\n#sha256" + number + "="
        + QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex() + "\r\n";
}

/// Serves an information file at `path` and its signature by `key` at `path` + ".minisig".
inline void serveSigned(LoopbackHttpServer& server, const QByteArray& path, const QByteArray& info,
                        const TestSigningKey& key)
{
    server.route(path, LoopbackHttpServer::response(200, info));
    server.route(path + ".minisig", LoopbackHttpServer::response(200, key.sign(info)));
}
