#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {
/// Output of a helper tool (xwininfo, xdotool); empty when it fails.
QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000))
        return QString();
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

template <typename F> bool waitFor(F condition, int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        if (condition())
            return true;
        QTest::qWait(100);
    }
    return condition();
}

/// The notification area's window (trayer's "panel"), or an empty string.
QString panelWindow()
{
    const QString ids = run(QStringLiteral("xdotool"),
                            { QStringLiteral("search"), QStringLiteral("--class"), QStringLiteral("trayer") });
    for (const QString& id : ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (run(QStringLiteral("xwininfo"), { QStringLiteral("-id"), id }).contains(QStringLiteral("\"panel\"")))
            return id;
    }
    return QString();
}

/// Whether a window of the program is docked in the notification area.
bool iconDocked()
{
    const QString panel = panelWindow();
    if (panel.isEmpty())
        return false;
    const QString tree = run(QStringLiteral("xwininfo"), { QStringLiteral("-tree"), QStringLiteral("-id"), panel });
    return tree.contains(QStringLiteral("(\"vantrel\""));
}

/// The id of the docked icon's window, for clicking it.
QString dockedIconWindow()
{
    const QString tree
        = run(QStringLiteral("xwininfo"), { QStringLiteral("-tree"), QStringLiteral("-id"), panelWindow() });
    static const QRegularExpression line(QStringLiteral("(0x[0-9a-f]+) .*\\(\"vantrel\""));
    const QRegularExpressionMatch match = line.match(tree);
    return match.hasMatch() ? match.captured(1) : QString();
}

/// Whether a top-level window titled "Vantrel" is on screen. Docked icons are not top-level, so they never count.
bool mainWindowViewable()
{
    const QString children = run(QStringLiteral("xwininfo"), { QStringLiteral("-root"), QStringLiteral("-children") });
    static const QRegularExpression line(QStringLiteral("^\\s*(0x[0-9a-f]+) \"Vantrel\":"),
                                         QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(children); it.hasNext();) {
        const QString id = it.next().captured(1);
        if (run(QStringLiteral("xwininfo"), { QStringLiteral("-id"), id }).contains(QStringLiteral("IsViewable")))
            return true;
    }
    return false;
}
} // namespace

/// The real program with and without a notification area (trayer) on a private X display.
class TestTrayArea : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QTemporaryDir> m_runtime;
    std::unique_ptr<QProcess> m_program;
    std::unique_ptr<QProcess> m_trayer;

    void startTrayer()
    {
        m_trayer = std::make_unique<QProcess>();
        m_trayer->start(QStringLiteral("trayer"),
                        { QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"),
                          QStringLiteral("right"), QStringLiteral("--widthtype"), QStringLiteral("pixel"),
                          QStringLiteral("--width"), QStringLiteral("120"), QStringLiteral("--height"),
                          QStringLiteral("24"), QStringLiteral("--transparent"), QStringLiteral("false") });
        QVERIFY2(m_trayer->waitForStarted(), "trayer is needed (see README)");
        QVERIFY(waitFor([] { return !panelWindow().isEmpty(); }, 10000));
    }

    void stopTrayer()
    {
        if (!m_trayer)
            return;
        m_trayer->kill();
        m_trayer->waitForFinished(5000);
        m_trayer.reset();
    }

    void startProgram(int hide)
    {
        QVERIFY(QProcess::execute(QStringLiteral("cp"),
                                  { QStringLiteral("-a"), QStringLiteral(VANTREL_APP_DIR "/."), m_dir->path() })
                == 0);
        QFile ini(m_dir->filePath(QStringLiteral("helper.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(QStringLiteral("[system]\r\nhide=%1\r\n").arg(hide).toLatin1());
        ini.close();

        m_program = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime->path());
        env.insert(QStringLiteral("VANTREL_POWEROFF_COMMAND"), QStringLiteral("true"));
        m_program->setProcessEnvironment(env);
        m_program->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_program->start(m_dir->filePath(QStringLiteral("vantrel")), {});
        QVERIFY(m_program->waitForStarted());
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_runtime = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid() && m_runtime->isValid());
    }

    void cleanup()
    {
        if (m_program) {
            m_program->kill();
            m_program->waitForFinished(5000);
            m_program.reset();
        }
        stopTrayer();
    }

    void startsAsHideSays_data()
    {
        QTest::addColumn<bool>("trayArea");
        QTest::addColumn<int>("hide");
        QTest::addColumn<bool>("mainWindow");
        QTest::newRow("hidden start: only the icon") << true << 1 << false;
        QTest::newRow("ordinary start") << true << 0 << true;
        // Without a notification area a hidden program could not be reached at all.
        QTest::newRow("hidden start, no notification area") << false << 1 << true;
    }

    void startsAsHideSays()
    {
        QFETCH(bool, trayArea);
        QFETCH(int, hide);
        QFETCH(bool, mainWindow);
        if (trayArea)
            startTrayer();
        startProgram(hide);
        if (trayArea)
            QVERIFY2(waitFor(iconDocked, 20000), "the icon did not appear in the notification area");
        if (mainWindow) {
            QVERIFY(waitFor(mainWindowViewable, 20000));
        } else {
            QTest::qWait(1500); // time enough for a window that should not come
            QVERIFY(!mainWindowViewable());
        }
        QCOMPARE(m_program->state(), QProcess::Running);
    }

    void iconSurvivesARestartOfTheNotificationAreaAndRestoresOnDoubleClick()
    {
        startTrayer();
        startProgram(1);
        QVERIFY(waitFor(iconDocked, 20000));
        stopTrayer();
        QVERIFY(waitFor([] { return !iconDocked(); }, 5000));
        startTrayer();
        QVERIFY2(waitFor(iconDocked, 20000), "the icon did not come back");
        QCOMPARE(m_program->state(), QProcess::Running);

        const QString icon = dockedIconWindow();
        QVERIFY(!icon.isEmpty());
        QVERIFY(!mainWindowViewable());
        run(QStringLiteral("xdotool"),
            { QStringLiteral("mousemove"), QStringLiteral("--window"), icon, QStringLiteral("5"), QStringLiteral("5"),
              QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"), QStringLiteral("--delay"),
              QStringLiteral("60"), QStringLiteral("1") });
        QVERIFY2(waitFor(mainWindowViewable, 10000), "a double click on the icon did not bring the main window");
    }

    void menuOnTheRightButtonOpensTheMainWindow()
    {
        startTrayer();
        startProgram(1);
        QVERIFY(waitFor(iconDocked, 20000));
        QVERIFY(!mainWindowViewable());
        run(QStringLiteral("xdotool"),
            { QStringLiteral("mousemove"), QStringLiteral("--window"), dockedIconWindow(), QStringLiteral("5"),
              QStringLiteral("5"), QStringLiteral("click"), QStringLiteral("3") });
        QTest::qWait(500);
        // The first item, "打开Vantrel".
        run(QStringLiteral("xdotool"), { QStringLiteral("key"), QStringLiteral("Down"), QStringLiteral("Return") });
        QVERIFY2(waitFor(mainWindowViewable, 10000), "the tray menu did not open the main window");
    }
};

QTEST_GUILESS_MAIN(TestTrayArea)
#include "TestTrayArea.moc"
