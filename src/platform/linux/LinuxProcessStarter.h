#pragma once

#include "platform/ProcessStarter.h"

class LinuxProcessStarter : public ProcessStarter
{
public:
    bool startDetached(const QString& program, const QStringList& arguments, const QString& workingDirectory) override;
};
