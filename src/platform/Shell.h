#pragma once

#include <QString>

/// Hands programs, documents, web addresses and "mailto:" links to the desktop.
class Shell
{
public:
    virtual ~Shell() = default;
    /// Starts an executable file, or opens anything else with the desktop's default handler.
    /// Returns false when nothing could be started; callers that must stay silent ignore it.
    virtual bool open(const QString& target) = 0;
    /// Opens the desktop's own date and time settings, when one can be found.
    virtual bool openDateTimeSettings() = 0;
};
