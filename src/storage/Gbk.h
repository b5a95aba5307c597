#pragma once

#include <QByteArray>
#include <QString>

/// The GBK code page of the files written for people and other programs, and of every input limit.
namespace Gbk {

/// Encodes to GBK. A character GBK cannot hold becomes "?".
QByteArray encode(const QString& text);
/// Decodes GBK. Returns false in *ok (when given) if the bytes were not valid GBK; bad bytes become U+FFFD.
QString decode(const QByteArray& bytes, bool* ok = nullptr);

/// Bytes the text takes in GBK. With crlf, each "\n" counts as the two bytes CR LF, as a multi-line edit stores it.
int byteLength(const QString& text, bool crlf = false);
/// The longest start of text that fits in maxBytes, never cut inside a character.
QString truncate(const QString& text, int maxBytes, bool crlf = false);

} // namespace Gbk
