#pragma once

#include "platform/SingleInstance.h"

#include <QString>
#include <memory>

class QLocalServer;
class QLockFile;

/// A lock file "zorsampleAppMutex.lock" and, beside it, a local socket on which the running copy listens, both in a
/// folder only the user can enter: $XDG_RUNTIME_DIR, else a private folder of the user's own in the temporary
/// folder. The lock is held for the life of the object; a lock left by a copy that died is taken over.
class LinuxSingleInstance : public SingleInstance
{
public:
    LinuxSingleInstance();
    ~LinuxSingleInstance() override;
    bool tryAcquire() override;
    void listenForActivation(std::function<void()> handler) override;
    void activateRunningCopy() override;

    /// The user's private folder for the lock and the socket; empty when none can be had safely.
    static QString privateFolder();
    static QString lockFilePath();
    static QString socketPath();

private:
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QLocalServer> m_server;
};
