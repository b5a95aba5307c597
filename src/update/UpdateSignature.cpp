#include "UpdateSignature.h"

#include <QList>

#include <sodium.h>

namespace {

constexpr qsizetype KeyIdBytes = 8;
constexpr qsizetype SignatureLineBytes = 2 + KeyIdBytes + crypto_sign_BYTES;
constexpr qsizetype PublicKeyLineBytes = 2 + KeyIdBytes + crypto_sign_PUBLICKEYBYTES;
const QByteArray TrustedPrefix = QByteArrayLiteral("trusted comment: ");
const QByteArray UntrustedPrefix = QByteArrayLiteral("untrusted comment:");

bool sodiumReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

/// Strict base64: anything that is not canonical base64 of the expected length gives an empty result.
QByteArray decodeBase64(const QByteArray& text, qsizetype expectedBytes)
{
    const auto decoded = QByteArray::fromBase64Encoding(text, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != expectedBytes || decoded.decoded.toBase64() != text)
        return {};
    return decoded.decoded;
}

/// The lines of a text file without their line ends (LF or CR LF).
QList<QByteArray> lines(const QByteArray& text)
{
    QList<QByteArray> result = text.split('\n');
    for (QByteArray& line : result)
        if (line.endsWith('\r'))
            line.chop(1);
    while (!result.isEmpty() && result.last().isEmpty())
        result.removeLast();
    return result;
}

struct SignatureFile
{
    QByteArray algorithm; ///< "Ed" or "ED"
    QByteArray keyId;
    QByteArray signature;
    QByteArray trustedComment;
    QByteArray globalSignature;
};

std::optional<SignatureFile> parseSignatureFile(const QByteArray& bytes)
{
    const QList<QByteArray> all = lines(bytes);
    if (all.size() != 4 || !all.at(0).startsWith(UntrustedPrefix) || !all.at(2).startsWith(TrustedPrefix))
        return std::nullopt;
    const QByteArray signatureLine = decodeBase64(all.at(1).trimmed(), SignatureLineBytes);
    const QByteArray global = decodeBase64(all.at(3).trimmed(), crypto_sign_BYTES);
    if (signatureLine.isEmpty() || global.isEmpty())
        return std::nullopt;
    SignatureFile file;
    file.algorithm = signatureLine.left(2);
    if (file.algorithm != "Ed" && file.algorithm != "ED")
        return std::nullopt;
    file.keyId = signatureLine.mid(2, KeyIdBytes);
    file.signature = signatureLine.mid(2 + KeyIdBytes);
    file.trustedComment = all.at(2).mid(TrustedPrefix.size());
    file.globalSignature = global;
    return file;
}

bool verifyDetached(const QByteArray& signature, const QByteArray& message, const QByteArray& key)
{
    return crypto_sign_verify_detached(reinterpret_cast<const unsigned char*>(signature.constData()),
                                       reinterpret_cast<const unsigned char*>(message.constData()),
                                       quint64(message.size()), reinterpret_cast<const unsigned char*>(key.constData()))
        == 0;
}

} // namespace

namespace UpdateSignature {

std::optional<PublicKey> ParsePublicKey(const QString& text)
{
    // The key line is the last line that is not a comment, so a whole ".pub" file works as well as its key line.
    QByteArray keyLine;
    for (const QByteArray& line : lines(text.toLatin1())) {
        const QByteArray trimmed = line.trimmed();
        if (!trimmed.isEmpty() && !trimmed.startsWith(UntrustedPrefix))
            keyLine = trimmed;
    }
    const QByteArray decoded = decodeBase64(keyLine, PublicKeyLineBytes);
    if (decoded.isEmpty() || decoded.left(2) != "Ed")
        return std::nullopt;
    return PublicKey{ decoded.mid(2, KeyIdBytes), decoded.mid(2 + KeyIdBytes) };
}

Result Verify(const QByteArray& data, const QByteArray& signatureFile, const PublicKey& key)
{
    const std::optional<SignatureFile> file = parseSignatureFile(signatureFile);
    if (!file)
        return Result::Malformed;
    if (file->keyId != key.keyId || key.key.size() != crypto_sign_PUBLICKEYBYTES)
        return Result::WrongKey;
    if (!sodiumReady())
        return Result::Invalid;

    QByteArray message = data;
    if (file->algorithm == "ED") {
        message = QByteArray(crypto_generichash_BYTES_MAX, Qt::Uninitialized);
        crypto_generichash(reinterpret_cast<unsigned char*>(message.data()), size_t(message.size()),
                           reinterpret_cast<const unsigned char*>(data.constData()), quint64(data.size()), nullptr, 0);
    }
    if (!verifyDetached(file->signature, message, key.key))
        return Result::Invalid;
    if (!verifyDetached(file->globalSignature, file->signature + file->trustedComment, key.key))
        return Result::Invalid;
    return Result::Valid;
}

} // namespace UpdateSignature
