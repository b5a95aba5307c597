#pragma once

#include <QString>

/// The start-with-the-desktop entry "vantrel888".
class Autostart
{
public:
    virtual ~Autostart() = default;
    /// Writes the entry so that executablePath starts with the desktop session. Throws AppError on failure.
    virtual void enable(const QString& executablePath) = 0;
    /// Removes the entry; a missing entry is no error.
    virtual void disable() = 0;
};
