#include "AppPaths.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString& overrideDir()
{
    static QString dir;
    return dir;
}
} // namespace

namespace AppPaths {

QString appDir()
{
    QString dir = overrideDir();
    if (dir.isEmpty())
        dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

void setAppDir(const QString& dir)
{
    overrideDir() = dir.isEmpty() ? QString() : QDir(dir).absolutePath();
}

QString executablePath()
{
    return QCoreApplication::applicationFilePath();
}

QString reminderTablePath()
{
    return appDir() + QStringLiteral("data/time.db");
}
QString soundDir()
{
    return appDir() + QStringLiteral("sound/");
}
QString settingsFilePath()
{
    return appDir() + QStringLiteral("helper.ini");
}

} // namespace AppPaths
