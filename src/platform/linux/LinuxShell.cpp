#include "LinuxShell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

bool LinuxShell::open(const QString& target)
{
    if (target.isEmpty())
        return false;
    if (target.contains(QLatin1String("://")) || target.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive))
        return QDesktopServices::openUrl(QUrl(target));

    const QFileInfo info(target);
    if (info.exists()) {
        if (info.isFile() && info.isExecutable())
            return QProcess::startDetached(info.absoluteFilePath(), {}, info.absolutePath());
        return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
    }
    // A bare program name, as a user would type it in a run box.
    const QString program = QStandardPaths::findExecutable(target);
    if (!program.isEmpty())
        return QProcess::startDetached(program, {});
    return false;
}

bool LinuxShell::openDateTimeSettings()
{
    // The desktops' own date and time panels, most common first.
    const struct
    {
        const char* program;
        const char* argument;
    } candidates[] = {
        { "gnome-control-center", "datetime" },
        { "cinnamon-settings", "calendar" },
        { "kcmshell6", "kcm_clock" },
        { "kcmshell5", "clock" },
        { "xfce4-datetime-settings", nullptr },
        { "mate-time-admin", nullptr },
        { "time-admin", nullptr },
        { "lxqt-admin-time", nullptr },
    };
    for (const auto& candidate : candidates) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(candidate.program));
        if (program.isEmpty())
            continue;
        QStringList arguments;
        if (candidate.argument)
            arguments << QString::fromLatin1(candidate.argument);
        return QProcess::startDetached(program, arguments);
    }
    return false;
}
