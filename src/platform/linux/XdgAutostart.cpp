#include "XdgAutostart.h"

#include "platform/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
const QString kEntryName = QStringLiteral("vantrel888.desktop");

QString configHome()
{
    // Only an absolute XDG_CONFIG_HOME counts; a relative one is to be ignored by the base-directory rules.
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!configured.isEmpty() && QDir::isAbsolutePath(configured))
        return configured;
    return QDir::homePath() + QStringLiteral("/.config");
}
} // namespace

QString XdgAutostart::entryPath()
{
    return configHome() + QStringLiteral("/autostart/") + kEntryName;
}

QString XdgAutostart::execValue(const QString& executablePath)
{
    // Two layers of escaping: inside the double quotes of the Exec command line '"', '`', '$' and '\' take a
    // backslash; then the whole value is a desktop-entry string, where '\' itself and line breaks are escaped
    // again. '%' starts a field code and is doubled.
    QString quoted;
    for (const QChar c : executablePath) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    QString value = QStringLiteral("\"");
    for (const QChar c : quoted) {
        if (c == QLatin1Char('\\'))
            value += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            value += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            value += QStringLiteral("\\r");
        else if (c == QLatin1Char('\t'))
            value += QStringLiteral("\\t");
        else if (c == QLatin1Char('%'))
            value += QStringLiteral("%%");
        else
            value += c;
    }
    value += QLatin1Char('"');
    return value;
}

QByteArray XdgAutostart::entryText(const QString& executablePath)
{
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Vantrel\n"
                                        "Exec=%1\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n")
                             .arg(execValue(executablePath));
    return text.toUtf8();
}

void XdgAutostart::enable(const QString& executablePath)
{
    const QString path = entryPath();
    const QString dir = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(dir))
        throw AppError(QStringLiteral("无法创建自动启动文件夹“%1”。").arg(QDir::toNativeSeparators(dir)));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(entryText(executablePath)) < 0 || !file.commit()) {
        throw AppError(
            QStringLiteral("无法写入自动启动项“%1”：%2").arg(QDir::toNativeSeparators(path), file.errorString()));
    }
}

void XdgAutostart::disable()
{
    const QString path = entryPath();
    QFile file(path);
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return;
    if (!file.remove())
        throw AppError(
            QStringLiteral("无法删除自动启动项“%1”：%2").arg(QDir::toNativeSeparators(path), file.errorString()));
}
