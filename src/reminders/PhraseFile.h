#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

/// The preset reminder phrases in "content.dat" beside the program: GB18030 text (GBK for every GBK character), one
/// phrase per line.
namespace PhraseFile {

/// appDir() + "content.dat".
QString path();

/// Splits the file's bytes into phrases. A line ends at CR LF, a lone CR or a lone LF; every line, an empty one
/// included, is one phrase, in file order. A final line break ends the last phrase and does not start another.
QStringList parse(const QByteArray& bytes);
/// The file's bytes: each phrase encoded, with CR LF after every phrase, the last one included; no phrases give no
/// bytes.
QByteArray format(const QStringList& phrases);

/// The phrases of the file, or nothing when the file does not exist (callers then keep what they show).
/// Throws AppError when the file exists but cannot be read.
std::optional<QStringList> read(const QString& filePath = path());
/// Replaces the file with the phrases, all or nothing. Throws AppError with the file error's text on failure.
void write(const QStringList& phrases, const QString& filePath = path());

} // namespace PhraseFile
