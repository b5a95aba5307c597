#include "AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QLatin1String kMarker(".vantrel-tmp.");
constexpr int kRandomLength = 6;

QString randomSuffix()
{
    static const char alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString suffix;
    for (int i = 0; i < kRandomLength; ++i)
        suffix += QLatin1Char(alphabet[QRandomGenerator::global()->bounded(int(sizeof(alphabet) - 1))]);
    return suffix;
}

/// "<name>.vantrel-tmp.XXXXXX", and the table engine's "-journal", "-wal" or "-shm" beside one.
const QRegularExpression& temporaryPattern()
{
    static const QRegularExpression re(QStringLiteral("^(.+)\\.vantrel-tmp\\.[A-Za-z0-9]{6}(-journal|-wal|-shm)?$"));
    return re;
}

void syncFolderOf(const QString& folder)
{
    const int dfd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

} // namespace

AtomicFile::AtomicFile(QString target)
    : m_target(QFileInfo(target).absoluteFilePath())
{ }

AtomicFile::~AtomicFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_committed && !m_temporary.isEmpty()) {
        ::unlink(QFile::encodeName(m_temporary).constData());
        // The table engine may have left its journal beside a temporary table file.
        ::unlink(QFile::encodeName(m_temporary + QStringLiteral("-journal")).constData());
    }
}

bool AtomicFile::fail(Failure failure, int error)
{
    m_failure = failure;
    m_error = QString::fromLocal8Bit(std::strerror(error));
    return false;
}

bool AtomicFile::open()
{
    removeLeftovers(m_target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString candidate = m_target + kMarker + randomSuffix();
        m_fd = ::open(QFile::encodeName(candidate).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (m_fd >= 0) {
            m_temporary = candidate;
            // The new file keeps the old one's permissions, as a user who made it private expects.
            struct stat old
            {
            };
            if (::stat(QFile::encodeName(m_target).constData(), &old) == 0)
                ::fchmod(m_fd, old.st_mode & 07777);
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    return fail(Failure::Create, errno);
}

bool AtomicFile::write(const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(m_fd, data, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(Failure::Write, errno);
        }
        data += n;
        left -= n;
    }
    return true;
}

bool AtomicFile::commit(bool syncFolder)
{
    // fsync reaches what any descriptor wrote to the file, the table engine's included.
    if (::fsync(m_fd) != 0)
        return fail(Failure::Write, errno);
    ::close(m_fd);
    m_fd = -1;
    if (std::rename(QFile::encodeName(m_temporary).constData(), QFile::encodeName(m_target).constData()) != 0)
        return fail(Failure::Replace, errno);
    m_committed = true;
    if (syncFolder)
        syncFolderOf(QFileInfo(m_target).absolutePath());
    return true;
}

bool AtomicFile::isTemporaryName(const QString& fileName)
{
    return temporaryPattern().match(fileName).hasMatch();
}

void AtomicFile::removeMatching(const QString& folder, const std::function<bool(const QFileInfo&)>& matches)
{
    const QFileInfoList entries
        = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& info : entries) {
        if (!info.isSymLink() && matches(info))
            QFile::remove(info.absoluteFilePath());
    }
}

void AtomicFile::removeLeftovers(const QString& target)
{
    const QFileInfo info(target);
    const QString name = info.fileName();
    removeMatching(info.absolutePath(), [&name](const QFileInfo& entry) {
        const QRegularExpressionMatch match = temporaryPattern().match(entry.fileName());
        return match.hasMatch() && match.captured(1) == name;
    });
}
