#include "LinuxSingleInstance.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kActivate[] = "activate\n";
constexpr int kActivateWaitMs = 2000;

/// A folder that exists, belongs to this user and lets no one else in.
bool isPrivateFolder(const QString& path)
{
    struct stat st
    {
    };
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

} // namespace

LinuxSingleInstance::LinuxSingleInstance() = default;
LinuxSingleInstance::~LinuxSingleInstance() = default;

QString LinuxSingleInstance::privateFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivateFolder(runtime))
        return runtime;
    // The shared temporary folder is reachable by everyone: only a folder of our own in it, made with no rights for
    // others, is safe for a lock and a socket that another user must not be able to take or talk to.
    const QString own = QDir(QDir::tempPath()).filePath(QStringLiteral("vantrel-%1").arg(::getuid()));
    if (::mkdir(QFile::encodeName(own).constData(), 0700) != 0 && errno != EEXIST)
        return QString();
    return isPrivateFolder(own) ? own : QString();
}

QString LinuxSingleInstance::lockFilePath()
{
    const QString folder = privateFolder();
    return folder.isEmpty() ? QString() : QDir(folder).filePath(QStringLiteral("zorsampleAppMutex.lock"));
}

QString LinuxSingleInstance::socketPath()
{
    const QString folder = privateFolder();
    return folder.isEmpty() ? QString() : QDir(folder).filePath(QStringLiteral("zorsampleAppMutex.socket"));
}

bool LinuxSingleInstance::tryAcquire()
{
    const QString path = lockFilePath();
    // Without a safe place for the guard the program starts normally, as when the guard cannot be created.
    if (path.isEmpty())
        return true;
    m_lock = std::make_unique<QLockFile>(path);
    // A live holder keeps its lock however long it runs; only a dead holder's lock is stale.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return true;
    // Only a live holder refuses us. A guard that cannot be created at all lets the program start normally.
    return m_lock->error() != QLockFile::LockFailedError;
}

void LinuxSingleInstance::listenForActivation(std::function<void()> handler)
{
    const QString path = socketPath();
    if (path.isEmpty() || !m_lock || !m_lock->isLocked())
        return;
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the guard, so a socket left there belongs to a copy that died.
    QLocalServer::removeServer(path);
    if (!m_server->listen(path)) {
        m_server.reset();
        return;
    }
    QObject::connect(m_server.get(), &QLocalServer::newConnection, m_server.get(), [this, handler] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, handler] {
                if (!socket->canReadLine())
                    return;
                const QByteArray line = socket->readLine(64);
                socket->disconnectFromServer();
                if (line == kActivate && handler)
                    handler();
            });
        }
    });
}

void LinuxSingleInstance::activateRunningCopy()
{
    const QString path = socketPath();
    if (path.isEmpty())
        return;
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(kActivateWaitMs))
        return;
    socket.write(kActivate);
    socket.waitForBytesWritten(kActivateWaitMs);
    // The running copy hangs up once it has read the request.
    socket.waitForDisconnected(kActivateWaitMs);
}
