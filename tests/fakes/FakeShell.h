#pragma once

#include "platform/Shell.h"

#include <QStringList>

/// Records what the program asked the desktop to open.
class FakeShell : public Shell
{
public:
    bool open(const QString& target) override
    {
        opened << target;
        return result;
    }
    bool openDateTimeSettings() override
    {
        ++dateTimeSettingsOpened;
        return result;
    }

    QStringList opened;
    int dateTimeSettingsOpened = 0;
    bool result = true;
};
