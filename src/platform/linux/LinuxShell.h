#pragma once

#include "platform/Shell.h"

class LinuxShell : public Shell
{
public:
    bool open(const QString& target) override;
    bool openDateTimeSettings() override;
};
