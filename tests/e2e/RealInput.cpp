#include "RealInput.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

namespace RealInput {

namespace {

// Runs a helper program while the event loop goes on, so a server in the test keeps answering meanwhile. True when it
// ended by itself with status 0 within the time.
bool runToEnd(QProcess& process, const QString& program, const QStringList& arguments, int timeoutMs)
{
    process.start(program, arguments);
    if (!process.waitForStarted(5000))
        return false;
    QDeadlineTimer deadline(timeoutMs);
    while (process.state() != QProcess::NotRunning) {
        if (deadline.hasExpired()) {
            process.kill();
            process.waitForFinished(2000);
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        process.waitForFinished(20);
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// xdotool sends what it is given through XTest; a "--window" option would send synthetic events instead.
bool xdotool(const QStringList& arguments)
{
    QProcess process;
    return runToEnd(process, QStringLiteral("xdotool"), arguments, 20000);
}

} // namespace

QString run(const QString& program, const QStringList& arguments, int timeoutMs)
{
    QProcess process;
    if (!runToEnd(process, program, arguments, timeoutMs))
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

QRect findControl(qint64 pid, const QString& window, const QString& name, const QString& role, int timeoutMs)
{
    QStringList arguments{ QStringLiteral("--pid"), QString::number(pid), QStringLiteral("--name"), name };
    if (!window.isEmpty())
        arguments << QStringLiteral("--window") << window;
    if (!role.isEmpty())
        arguments << QStringLiteral("--role") << role;
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        // Started by its own first line: Debian's python3, which has pyatspi, whatever python3 comes first in PATH.
        const QStringList box
            = run(QStringLiteral(VANTREL_FIND_CONTROL), arguments).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (box.size() == 4)
            return QRect(box.at(0).toInt(), box.at(1).toInt(), box.at(2).toInt(), box.at(3).toInt());
        if (deadline.hasExpired())
            return QRect();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(100);
    }
}

QRect windowRect(const QString& windowId)
{
    const QString shell
        = run(QStringLiteral("xdotool"), { QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), windowId });
    static const QRegularExpression field(QStringLiteral("^(X|Y|WIDTH|HEIGHT)=(-?\\d+)$"),
                                          QRegularExpression::MultilineOption);
    int x = 0, y = 0, width = 0, height = 0;
    for (auto it = field.globalMatch(shell); it.hasNext();) {
        const auto match = it.next();
        const int value = match.captured(2).toInt();
        const QString name = match.captured(1);
        if (name == QLatin1String("X"))
            x = value;
        else if (name == QLatin1String("Y"))
            y = value;
        else if (name == QLatin1String("WIDTH"))
            width = value;
        else
            height = value;
    }
    return width > 0 && height > 0 ? QRect(x, y, width, height) : QRect();
}

bool click(const QPoint& point, int button)
{
    return xdotool({ QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(point.x()),
                     QString::number(point.y()), QStringLiteral("click"), QString::number(button) });
}

bool clickControl(qint64 pid, const QString& window, const QString& name, const QString& role, int timeoutMs)
{
    const QRect box = findControl(pid, window, name, role, timeoutMs);
    return box.isValid() && click(box.center());
}

bool key(const QString& keys)
{
    return xdotool(QStringList{ QStringLiteral("key") } + keys.split(QLatin1Char(' '), Qt::SkipEmptyParts));
}

bool type(const QString& text)
{
    return xdotool({ QStringLiteral("type"), QStringLiteral("--"), text });
}

QString focusedWindow()
{
    return run(QStringLiteral("xdotool"), { QStringLiteral("getwindowfocus") }).trimmed();
}

} // namespace RealInput
