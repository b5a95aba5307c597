#include "LinuxProcessStarter.h"

#include <QProcess>

bool LinuxProcessStarter::startDetached(const QString& program, const QStringList& arguments,
                                        const QString& workingDirectory)
{
    return QProcess::startDetached(program, arguments, workingDirectory);
}
