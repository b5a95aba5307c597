#pragma once

#include <QString>
#include <QStringList>

/// What the replacement helper was asked to do.
struct HelperCommand
{
    QString programPath; ///< the program whose files are replaced and which is started again
    QStringList restartArguments; ///< given to the program when it is started again
    bool isSetup = false; ///< the upgrade method was "use an external setup"
};

/// Reads the helper's arguments: the program's path (possibly split at its blanks over several arguments) followed
/// by "+", the restart argument and the upgrade method digit. The LAST argument beginning with "+" is that one, so
/// a "+" inside the program's path does no harm; arguments after it are ignored. Without such an argument every
/// argument belongs to the path and nothing is passed on restart.
HelperCommand ParseHelperArguments(const QStringList& arguments);
