#include "LinuxPower.h"

#include "platform/AppError.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QStringList>

namespace {

constexpr int kWaitMs = 30000;

[[noreturn]] void fail(const QString& reason)
{
    throw AppError(QStringLiteral("无法关闭计算机：%1").arg(reason));
}

/// Runs a program to its end; throws when it cannot start, does not end in time or ends with a failure.
void run(const QString& program, const QStringList& arguments, const QString& shownAs)
{
    auto* process = new QProcess;
    process->setProgram(program);
    process->setArguments(arguments);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->start();
    if (!process->waitForStarted(kWaitMs)) {
        const QString error = process->errorString();
        delete process;
        fail(QStringLiteral("%1 无法启动（%2）").arg(shownAs, error));
    }
    if (!process->waitForFinished(kWaitMs)) {
        // Never kill what may be switching the computer off; let it finish on its own.
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
        fail(QStringLiteral("%1 在 %2 秒内没有结束").arg(shownAs).arg(kWaitMs / 1000));
    }
    const bool crashed = process->exitStatus() != QProcess::NormalExit;
    const int code = process->exitCode();
    const QString output = QString::fromLocal8Bit(process->readAll()).trimmed();
    delete process;
    if (crashed)
        fail(QStringLiteral("%1 异常终止").arg(shownAs));
    if (code != 0) {
        QString reason = QStringLiteral("%1 以退出码 %2 结束").arg(shownAs).arg(code);
        if (!output.isEmpty())
            reason += QStringLiteral("：") + output.left(300);
        fail(reason);
    }
}

/// Asks logind for the power-off. False when logind is not there to ask; throws when it refuses.
bool askLogind()
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PowerOff"));
    call << false; // not interactive: no password prompt from a timer tick
    const QDBusMessage reply = bus.call(call, QDBus::Block, kWaitMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return true;
    static const QStringList missing{
        QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown"),
        QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner"),
        QStringLiteral("org.freedesktop.DBus.Error.UnknownObject"),
        QStringLiteral("org.freedesktop.DBus.Error.UnknownInterface"),
        QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
        QStringLiteral("org.freedesktop.DBus.Error.Spawn.ServiceNotFound"),
        QStringLiteral("org.freedesktop.DBus.Error.Disconnected"),
    };
    if (missing.contains(reply.errorName()))
        return false;
    fail(reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage());
}

} // namespace

void LinuxPower::powerOff()
{
    if (qEnvironmentVariableIsSet("VANTREL_POWEROFF_COMMAND")) {
        const QString command = qEnvironmentVariable("VANTREL_POWEROFF_COMMAND");
        run(QStringLiteral("/bin/sh"), { QStringLiteral("-c"), command }, QStringLiteral("关机命令“%1”").arg(command));
        return;
    }
    if (askLogind())
        return;
    run(QStringLiteral("systemctl"), { QStringLiteral("poweroff") }, QStringLiteral("systemctl poweroff"));
}
