#include "LinuxSingleInstance.h"

#include <QDir>
#include <QLockFile>

LinuxSingleInstance::LinuxSingleInstance() = default;
LinuxSingleInstance::~LinuxSingleInstance() = default;

QString LinuxSingleInstance::lockFilePath()
{
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QDir(dir).exists())
        dir = QDir::tempPath();
    return QDir(dir).filePath(QStringLiteral("zorsampleAppMutex.lock"));
}

bool LinuxSingleInstance::tryAcquire()
{
    m_lock = std::make_unique<QLockFile>(lockFilePath());
    // A live holder keeps its lock however long it runs; only a dead holder's lock is stale.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return true;
    // Only a live holder refuses us. A guard that cannot be created at all lets the program start normally.
    return m_lock->error() != QLockFile::LockFailedError;
}
