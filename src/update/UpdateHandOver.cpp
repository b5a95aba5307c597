#include "UpdateHandOver.h"

#include "HttpTransfer.h"
#include "platform/AppPaths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString& programPathOverride()
{
    static QString path;
    return path;
}

/// A real folder (not a link) owned by this user.
bool ownFolder(const QString& path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid();
}

/// Creates `path` as a new file (never an existing one, never through a link), mode 0700 or 0600, and writes
/// `bytes` whole.
bool writeNewFile(const QString& path, const QByteArray& bytes, bool executable)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          executable ? 0700 : 0600);
    if (fd < 0)
        return false;
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += n;
    }
    const bool closed = ::close(fd) == 0;
    return written == bytes.size() && closed;
}

} // namespace

namespace UpdateHandOver {

QString LastUrlSegment(const QString& url)
{
    QString text = url;
    text.replace(QLatin1Char('/'), QLatin1Char('\\'));
    const qsizetype cut = std::max(text.lastIndexOf(QLatin1Char('\\')), text.lastIndexOf(QLatin1Char(':')));
    return text.mid(cut + 1);
}

QString TempFileName(const QString& url)
{
    return AppPaths::appDir() + LastUrlSegment(url) + QStringLiteral(".uTMP");
}

quint8 TotalPercentsDone(int index, int count, quint8 percentsDone)
{
    if (count <= 0)
        return 0;
    return quint8(RoundHalfEven(double(index) * 100.0 / count) + percentsDone / count);
}

QString ProgramPath()
{
    return programPathOverride().isEmpty() ? AppPaths::executablePath() : programPathOverride();
}

void setProgramPathForTesting(const QString& path)
{
    programPathOverride() = path;
}

QStringList HelperArguments(const QString& programPath, const QString& restartParams, int method)
{
    return { programPath, QLatin1Char('+') + restartParams + QString::number(method) };
}

QString HelperBaseFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && ownFolder(runtime))
        return QDir::cleanPath(runtime);
    return QDir::cleanPath(QDir::tempPath());
}

QString MakeHelperFolder()
{
    // mkdtemp creates the folder itself with mode 0700 and fails rather than use anything already there.
    QByteArray pattern = QFile::encodeName(HelperBaseFolder() + QLatin1Char('/') + QLatin1String(HelperFolderPrefix)
                                           + QStringLiteral("XXXXXX"));
    if (!::mkdtemp(pattern.data()))
        return {};
    return QFile::decodeName(pattern);
}

QString HelperPath(const QString& folder)
{
    return folder + QLatin1Char('/') + QLatin1String(HelperFileName);
}

void RemoveLeftoverHelperFolders()
{
    const QString base = HelperBaseFolder();
    const QStringList names = QDir(base).entryList({ QLatin1String(HelperFolderPrefix) + QLatin1Char('*') },
                                                   QDir::Dirs | QDir::Files | QDir::System | QDir::Hidden
                                                       | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QString& name : names) {
        const QString path = base + QLatin1Char('/') + name;
        if (ownFolder(path))
            QDir(path).removeRecursively();
    }
}

void DeleteStaleDownloads()
{
    QDir folder(AppPaths::appDir());
    for (const QString& name :
         folder.entryList({ QStringLiteral("*.uTMP") }, QDir::Files | QDir::Hidden | QDir::System))
        folder.remove(name);
}

bool WriteHelper(const QString& folder)
{
    QFile image(QStringLiteral(":/UPDHELPER"));
    if (!image.open(QIODevice::ReadOnly))
        return false;
    return writeNewFile(HelperPath(folder), image.readAll(), true);
}

bool WriteInstallList(const QString& folder, const QList<InstallEntry>& entries)
{
    QByteArray text;
    for (const InstallEntry& entry : entries)
        text += entry.sha256 + ' ' + entry.name.toUtf8() + '\n';
    return writeNewFile(folder + QLatin1Char('/') + QLatin1String(InstallListName), text, false);
}

QByteArray FileSha256(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return {};
    return hash.result().toHex();
}

} // namespace UpdateHandOver
