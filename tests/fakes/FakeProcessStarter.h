#pragma once

#include "platform/ProcessStarter.h"

#include <QList>
#include <QProcess>

#include <functional>

/// Records every program the code under test starts. By default nothing is started; `startForReal` lets a test
/// run the real program (the update helper, for example) while still seeing what was asked.
class FakeProcessStarter : public ProcessStarter
{
public:
    struct Start
    {
        QString program;
        QStringList arguments;
        QString workingDirectory;
    };

    bool startDetached(const QString& program, const QStringList& arguments, const QString& workingDirectory) override
    {
        starts << Start{ program, arguments, workingDirectory };
        if (onStart)
            onStart(starts.last());
        if (startForReal)
            return QProcess::startDetached(program, arguments, workingDirectory);
        return result;
    }

    QList<Start> starts;
    bool startForReal = false;
    bool result = true;
    std::function<void(const Start&)> onStart; ///< runs before the start, e.g. to look at the helper's folder
};
