#include "PhraseFile.h"

#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "storage/AtomicFile.h"
#include "text/Gbk.h"

#include <QFile>

namespace {
[[noreturn]] void fail(const QString& filePath, const QString& reason)
{
    throw AppError(filePath + QStringLiteral(": ") + reason);
}
} // namespace

namespace PhraseFile {

QString path()
{
    return AppPaths::appDir() + QStringLiteral("content.dat");
}

QStringList parse(const QByteArray& bytes)
{
    // Split on the raw bytes: CR and LF never occur inside a GB18030 character, so this is safe and keeps a broken
    // character in one line from swallowing the line break after it.
    QStringList phrases;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        phrases << Gbk::decode(bytes.mid(start, i - start));
        i += (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n') ? 2 : 1;
        start = i;
    }
    if (start < bytes.size())
        phrases << Gbk::decode(bytes.mid(start));
    return phrases;
}

QByteArray format(const QStringList& phrases)
{
    QByteArray out;
    for (const QString& phrase : phrases) {
        out += Gbk::encode(phrase);
        out += "\r\n";
    }
    return out;
}

std::optional<QStringList> read(const QString& filePath)
{
    QFile file(filePath);
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        fail(filePath, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        fail(filePath, file.errorString());
    return parse(bytes);
}

void write(const QStringList& phrases, const QString& filePath)
{
    // Written aside and renamed over the old file, so a failed write leaves the old phrases intact.
    AtomicFile file(filePath);
    if (!file.open() || !file.write(format(phrases)) || !file.commit())
        fail(filePath, file.errorString());
}

} // namespace PhraseFile
