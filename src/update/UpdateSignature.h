#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

/// Detached Ed25519 signatures in the format of the `minisign` tool, with which a publisher signs the update's
/// information file. Both kinds minisign writes are accepted: "ED" (the file's BLAKE2b-512 hash is signed, the
/// default since minisign 0.11) and the older "Ed" (the file itself is signed). The trusted comment's own signature
/// is checked as well, so no line of the signature file can be altered.
namespace UpdateSignature {

/// A minisign public key: its 8-byte key number and the 32-byte Ed25519 key.
struct PublicKey
{
    QByteArray keyId;
    QByteArray key;
};

/// Reads a public key given as the base64 line of a minisign ".pub" file ("RW..."), or as the whole file with its
/// "untrusted comment:" line. Nothing when the text is empty or not such a key.
std::optional<PublicKey> ParsePublicKey(const QString& text);

enum class Result {
    Valid,
    Malformed, ///< not a minisign signature file
    WrongKey, ///< made with another key than the trusted one
    Invalid, ///< made with the trusted key, but for other data or with an altered comment
};

/// Checks `signatureFile` (the ".minisig" file's bytes) over `data` against `key`.
Result Verify(const QByteArray& data, const QByteArray& signatureFile, const PublicKey& key);

} // namespace UpdateSignature
