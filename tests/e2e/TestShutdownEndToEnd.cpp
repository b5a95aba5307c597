#include "ProgramUnderTest.h"
#include "storage/SettingsFile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

/// A countdown stored in helper.ini runs out in the real program: the power-off goes to the trial command, which
/// only writes a marker file, and the plan is cleared in the file.
class TestShutdownEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void storedCountdownRunsThePowerOffCommand_data()
    {
        QTest::addColumn<bool>("refused");
        QTest::newRow("accepted") << false;
        QTest::newRow("refused, shown in the error box") << true;
    }
    void storedCountdownRunsThePowerOffCommand()
    {
        QFETCH(bool, refused);
        QTemporaryDir dir;
        const QString appDir = dir.filePath(QStringLiteral("Vantrel"));
        ProgramUnderTest::copyTree(QStringLiteral(VANTREL_APP_DIR), appDir);
        QFile::remove(appDir + QStringLiteral("/helper.ini"));
        writeFile(appDir + QStringLiteral("/helper.ini"), "[halt]\r\nremain=1\r\nremaintime=3\r\n");

        const QString marker = dir.filePath(QStringLiteral("powered-off"));
        const QString script = dir.filePath(QStringLiteral("poweroff.sh"));
        writeFile(script,
                  QStringLiteral("#!/bin/sh\necho off >> '%1'\nexit %2\n").arg(marker).arg(refused ? 3 : 0).toUtf8());
        QFile::setPermissions(script, QFile::permissions(script) | QFile::ExeOwner);
        // A runtime folder is the user's alone, or the program does not keep its guard there.
        QDir(dir.path()).mkdir(QStringLiteral("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VANTREL_POWEROFF_COMMAND"), QStringLiteral("'%1'").arg(script));
        // Should the trial command ever be lost, there is no system bus to ask for a real power-off either.
        env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), QStringLiteral("unix:path=%1/no-bus").arg(dir.path()));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("runtime")));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        QVERIFY(env.contains(QStringLiteral("VANTREL_POWEROFF_COMMAND")));

        QProcess program;
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(appDir);
        program.start(appDir + QStringLiteral("/vantrel"), {});
        QVERIFY2(program.waitForStarted(10000), qPrintable(program.errorString()));

        const bool ran = waitFor([&] { return QFile::exists(marker); }, 15000);
        const bool errorBox = waitFor([] { return errorBoxShown(); }, refused ? 10000 : 1500);
        const QString output = QString::fromLocal8Bit(program.readAllStandardError());
        const bool running = program.state() == QProcess::Running;
        program.kill();
        program.waitForFinished(5000);
        QVERIFY2(ran, qPrintable(output));
        QVERIFY2(running, qPrintable(output));
        QCOMPARE(errorBox, refused);

        const SettingsFile settings(appDir + QStringLiteral("/helper.ini"));
        QCOMPARE(settings.readString(QStringLiteral("halt"), QStringLiteral("appoint"), QString()),
                 QStringLiteral("0"));
        QCOMPARE(settings.readString(QStringLiteral("halt"), QStringLiteral("remain"), QString()), QStringLiteral("0"));
        QCOMPARE(readFile(marker), QByteArray("off\n")); // asked once
    }

private:
    static void writeFile(const QString& path, const QByteArray& content)
    {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(content);
    }
    static QByteArray readFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QString xdotool(const QStringList& arguments)
    {
        QProcess process;
        process.start(QStringLiteral("xdotool"), arguments);
        process.waitForFinished(5000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    /// A visible window with the program's name that is not the 457 x 326 main window: the error box.
    static bool errorBoxShown()
    {
        const QStringList ids = xdotool({ QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                          QStringLiteral("--name"), QStringLiteral("^Vantrel$") })
                                    .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString& id : ids) {
            const QString geometry = xdotool({ QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id });
            if (!(geometry.contains(QStringLiteral("WIDTH=457\n"))
                  && geometry.contains(QStringLiteral("HEIGHT=326\n"))))
                return true;
        }
        return false;
    }
    template <typename F> static bool waitFor(F condition, int timeoutMs)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!condition()) {
            if (deadline.hasExpired())
                return false;
            QThread::msleep(100);
        }
        return true;
    }
};

QTEST_GUILESS_MAIN(TestShutdownEndToEnd)
#include "TestShutdownEndToEnd.moc"
