#include "HelperCommandLine.h"

HelperCommand ParseHelperArguments(const QStringList& arguments)
{
    HelperCommand command;
    qsizetype restartIndex = -1;
    for (qsizetype i = arguments.size() - 1; i >= 0; --i) {
        if (arguments.at(i).startsWith(QLatin1Char('+'))) {
            restartIndex = i;
            break;
        }
    }
    const QStringList pathPieces = restartIndex < 0 ? arguments : arguments.mid(0, restartIndex);
    QString path = pathPieces.join(QLatin1Char(' '));
    // Callers that still quote the path (a habit from command lines given as one text) get the quotes removed.
    if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"')))
        path = path.mid(1, path.size() - 2);
    command.programPath = path;

    if (restartIndex >= 0) {
        const QString restart = arguments.at(restartIndex);
        if (restart.size() >= 2) {
            command.isSetup = restart.endsWith(QLatin1Char('1'));
            // The restart text reaches the program the way a command line would: split at its blanks.
            command.restartArguments = restart.mid(1, restart.size() - 2).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        }
    }
    return command;
}
