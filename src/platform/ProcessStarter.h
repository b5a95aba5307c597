#pragma once

#include <QString>
#include <QStringList>

/// Starts another program that runs on by itself, without waiting for it.
class ProcessStarter
{
public:
    virtual ~ProcessStarter() = default;
    /// Starts `program` with `arguments` (each one argument, no shell involved) in `workingDirectory`.
    /// Returns false when it could not be started.
    virtual bool startDetached(const QString& program, const QStringList& arguments, const QString& workingDirectory)
        = 0;
};
