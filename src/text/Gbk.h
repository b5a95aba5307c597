#pragma once

#include <QByteArray>
#include <QString>

/// The code page of the files written for people and other programs, and of every input limit: GB18030.
/// GB18030 writes every character GBK has as exactly its GBK bytes, so a file of GBK text stays byte for byte what
/// a GBK reader expects, and it gives every other character (emoji, rare names, Korean) its own four-byte code, so
/// nothing typed is ever turned into "?". The converter is the C library's (GB18030-2022); three adjustments keep old
/// files and old readers whole:
/// - "€" is written as the single byte 0x80 of the Chinese Windows code page (GBK as the program has always written
///   it); the GB18030 code A2 E3 reads as "€" too.
/// - Four-byte codes that GB18030-2005 writers use for characters the 2022 edition moved to two bytes are read.
/// - The 24 private-use stand-ins that the 2022 edition no longer encodes keep their 2005 code, which reads back as
///   the standard character they stood in for.
namespace Gbk {

/// Encodes to GB18030 (GBK bytes for every GBK character, "€" as 0x80). Never loses a character.
QByteArray encode(const QString& text);
/// Decodes GB18030, which takes GBK as it is. Returns false in *ok (when given) if the bytes were not valid; each
/// bad byte becomes U+FFFD and never swallows the bytes after it.
QString decode(const QByteArray& bytes, bool* ok = nullptr);

/// Bytes the text takes when encoded. With crlf, each "\n" counts as the two bytes CR LF, as a multi-line edit stores
/// it.
int byteLength(const QString& text, bool crlf = false);
/// The longest start of text that fits in maxBytes, cut only between user-perceived characters: never inside a
/// surrogate pair, and never between a letter and its combining marks.
QString truncate(const QString& text, int maxBytes, bool crlf = false);

} // namespace Gbk
