#include "ProgramWindows.h"
#include "TFrmMain.h"
#include "fakes/TestEnvironment.h"
#include "platform/AppPaths.h"
#include "platform/Services.h"
#include "reminders/ReminderTable.h"
#include "reminders/TFrmAlarminf.h"
#include "storage/TableQuery.h"
#include "widgets/TNotifyPopup.h"
#include "widgets/TfrmNotifyPopup.h"

#include <QAction>
#include <QTimer>
#include <QtTest>

// The engine as the main window runs it: its timer fires rows into NotifyPopup1, the shared player of the
// add-reminder window and the shell; the tray's "关闭提醒音乐" silences that player.
class TestReminderFiring : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void timerFiresDueRowsIntoTheMainWindowsParts();

private:
    void addDue(const QString& content, const QString& sound, const QString& program);

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<ProgramWindows> m_windows;
    TFrmMain* m_main = nullptr;
    TFrmAlarminf* m_alarminf = nullptr;
};

void TestReminderFiring::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_windows = std::make_unique<ProgramWindows>();
    m_main = &m_windows->window<TFrmMain>();
    m_main->Timer2->stop(); // the test ticks by hand
    m_alarminf = &m_windows->window<TFrmAlarminf>();
}

void TestReminderFiring::cleanup()
{
    m_windows.reset();
    m_env.reset();
}

void TestReminderFiring::addDue(const QString& content, const QString& sound, const QString& program)
{
    Reminder r;
    r.hint = QStringLiteral("是");
    r.hintdate = m_env->clock.now().date();
    r.hinttime = m_env->clock.now().time();
    r.content = content;
    r.sound = sound;
    r.frequency = QStringLiteral("指定时间");
    r.program = program;
    TableQuery insert;
    insert.setSql(ReminderTable::insert(AppPaths::reminderTablePath()));
    ReminderTable::bindValues(insert, r);
    insert.execSql();
}

void TestReminderFiring::timerFiresDueRowsIntoTheMainWindowsParts()
{
    addDue(QStringLiteral("喝水"), QStringLiteral("小闹钟"), QStringLiteral("/opt/one"));
    addDue(QStringLiteral("开会"), QStringLiteral("天鹅湖"), QStringLiteral("/opt/two"));
    m_main->Timer2Timer();

    TNotifyPopup* popup = m_main->NotifyPopup1;
    QCOMPARE(QSize(popup->Width(), popup->Height()), QSize(180, 150));
    QCOMPARE(popup->OpenCount(), 2);
    const QList<TfrmNotifyPopup*> windows = popup->popups();
    QCOMPARE(windows.size(), 2);
    for (TfrmNotifyPopup* window : windows) {
        QCOMPARE(window->windowTitle(), QStringLiteral("提醒"));
        QCOMPARE(window->width(), 180); // its height grows as it slides in
    }
    QVERIFY(windows.at(0)->y() != windows.at(1)->y()); // stacked, not on top of each other
    QCOMPARE(m_env->shell.opened, (QStringList{ QStringLiteral("/opt/one"), QStringLiteral("/opt/two") }));

    FakeSoundPlayer* shared = &m_windows->reminderPlayer();
    QCOMPARE(static_cast<SoundPlayer*>(shared), m_alarminf->MediaPlayer1);
    QCOMPARE(shared->openFile, AppPaths::soundDir() + QStringLiteral("天鹅湖.mid"));
    QVERIFY(shared->playing);

    m_main->N12->trigger();
    QVERIFY(!shared->playing);
    QCOMPARE(shared->calls.last(), QStringLiteral("close"));

    // The same second again fires nothing more.
    m_main->Timer2Timer();
    QCOMPARE(m_env->shell.opened.size(), 2);
    QVERIFY(m_env->errors.isEmpty());
}

QTEST_MAIN(TestReminderFiring)
#include "TestReminderFiring.moc"
