#pragma once

#include "platform/AppError.h"
#include "platform/Autostart.h"

#include <QString>

/// Remembers the autostart entry instead of writing one; can be told to fail like a folder without write rights.
class FakeAutostart : public Autostart
{
public:
    void enable(const QString& executablePath) override
    {
        ++enableCalls;
        if (!failText.isEmpty())
            throw AppError(failText);
        enabled = true;
        path = executablePath;
    }
    void disable() override
    {
        ++disableCalls;
        if (!failText.isEmpty())
            throw AppError(failText);
        enabled = false;
        path.clear();
    }

    bool enabled = false;
    QString path;
    int enableCalls = 0;
    int disableCalls = 0;
    /// When set, enable() and disable() throw AppError with this text.
    QString failText;
};
