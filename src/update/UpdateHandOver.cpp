#include "UpdateHandOver.h"

#include "HttpTransfer.h"
#include "platform/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString& programPathOverride()
{
    static QString path;
    return path;
}

} // namespace

namespace UpdateHandOver {

QString HelperPath()
{
    static const QString path = [] {
        QString folder = QDir::tempPath();
        if (!QFileInfo(folder).isDir())
            folder = AppPaths::appDir();
        if (!folder.endsWith(QLatin1Char('/')))
            folder += QLatin1Char('/');
        return folder + QStringLiteral("UpdateHelper");
    }();
    return path;
}

QString LastUrlSegment(const QString& url)
{
    QString text = url;
    text.replace(QLatin1Char('/'), QLatin1Char('\\'));
    const qsizetype cut = std::max(text.lastIndexOf(QLatin1Char('\\')), text.lastIndexOf(QLatin1Char(':')));
    return text.mid(cut + 1);
}

QString TempFileName(const QString& url)
{
    return AppPaths::appDir() + LastUrlSegment(url) + QStringLiteral(".uTMP");
}

quint8 TotalPercentsDone(int index, int count, quint8 percentsDone)
{
    if (count <= 0)
        return 0;
    return quint8(RoundHalfEven(double(index) * 100.0 / count) + percentsDone / count);
}

QString ProgramPath()
{
    return programPathOverride().isEmpty() ? AppPaths::executablePath() : programPathOverride();
}

void setProgramPathForTesting(const QString& path)
{
    programPathOverride() = path;
}

QStringList HelperArguments(const QString& programPath, const QString& restartParams, int method)
{
    return { programPath, QLatin1Char('+') + restartParams + QString::number(method) };
}

bool WriteHelper(const QString& path)
{
    QFile image(QStringLiteral(":/UPDHELPER"));
    if (!image.open(QIODevice::ReadOnly))
        return false;
    // Written beside the old file and renamed over it, so a helper of that name is either the complete new one or
    // untouched; in a shared temporary folder another user's file of that name can't be replaced at all.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(image.readAll());
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return file.commit();
}

} // namespace UpdateHandOver
