#pragma once

#include "platform/SingleInstance.h"

#include <QString>
#include <memory>

class QLockFile;

/// A lock file "zorsampleAppMutex.lock" in the user's runtime folder. The lock is held for the life of the object;
/// a lock left by a copy that died is taken over.
class LinuxSingleInstance : public SingleInstance
{
public:
    LinuxSingleInstance();
    ~LinuxSingleInstance() override;
    bool tryAcquire() override;
    static QString lockFilePath();

private:
    std::unique_ptr<QLockFile> m_lock;
};
