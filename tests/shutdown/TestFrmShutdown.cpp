#include "fakes/FakePower.h"
#include "fakes/TestEnvironment.h"
#include "platform/AppPaths.h"
#include "platform/Services.h"
#include "shutdown/TFrmShutdown.h"
#include "storage/SettingsFile.h"
#include "widgets/TNotifyPopup.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

namespace {

QString haltKey(const char* name)
{
    return SettingsFile(AppPaths::settingsFilePath()).readString(QStringLiteral("halt"), QString::fromLatin1(name), {});
}

} // namespace

class TestFrmShutdown : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        Services::setPower(&m_power);
    }
    void cleanup()
    {
        Services::setPower(nullptr);
        m_env.reset();
        m_power = FakePower();
    }

    void countdownThroughTheWindow()
    {
        TNotifyPopup popup;
        TFrmShutdown window(popup);
        QVERIFY(window.Timer1->isActive());
        QCOMPARE(window.Timer1->interval(), 1000);
        window.RadioButton2->setChecked(true);
        window.Edit1->setValue(2);
        window.show();
        window.Button2->click();
        QVERIFY(!window.isVisible());
        QCOMPARE(haltKey("remain"), QStringLiteral("1"));
        QCOMPARE(haltKey("appoint"), QStringLiteral("0"));
        QCOMPARE(haltKey("remaintime"), QStringLiteral("120"));
        QCOMPARE(haltKey("hint"), QStringLiteral("1"));

        m_env->clock.advanceSecond();
        window.Timer1Timer();
        QCOMPARE(window.Label2->text(), QStringLiteral("计时关机"));
        QCOMPARE(window.Label4->text(), QStringLiteral("离关机还有1.98分"));
        while (window.Label4->text() != ShutdownScheduler::remainLabel(61)) {
            m_env->clock.advanceSecond();
            window.Timer1Timer();
        }
        QCOMPARE(popup.Title(), QStringLiteral("title"));
        m_env->clock.advanceSecond();
        window.Timer1Timer();
        QCOMPARE(popup.Title(), QStringLiteral("关机"));
        QCOMPARE(popup.Text(), QStringLiteral("离关机还有一分钟，请保存数据，退出所有程序!"));
        QCOMPARE(popup.TimeOut(), 60);

        for (int i = 0; i < 60; ++i) {
            QCOMPARE(m_power.requests, 0);
            m_env->clock.advanceSecond();
            window.Timer1Timer();
        }
        QCOMPARE(m_power.requests, 1);
        QCOMPARE(haltKey("remain"), QStringLiteral("0"));
        QCOMPARE(haltKey("appoint"), QStringLiteral("0"));
        // The next tick finds no plan and stops the timer until the next "应用设置".
        window.Timer1Timer();
        QVERIFY(!window.Timer1->isActive());
        window.show();
        window.Button2->click();
        QVERIFY(window.Timer1->isActive());
    }

    void appointedPlanFromThePickers()
    {
        m_env->clock.set(QDateTime(QDate(2026, 3, 4), QTime(7, 8, 9)));
        TNotifyPopup popup;
        TFrmShutdown window(popup);
        window.show();
        QCOMPARE(window.DateTimePicker1->date(), QDate(2026, 3, 4));
        QCOMPARE(window.DateTimePicker2->time(), QTime(7, 8, 9));
        QCOMPARE(window.Label2->text(), QStringLiteral("没有设定自动关机"));
        QCOMPARE(window.Label4->text(), QString());

        window.DateTimePicker2->setTime(QTime(23, 0, 5));
        window.CheckBox1->setChecked(false);
        window.Button2->click();
        QCOMPARE(haltKey("appoint"), QStringLiteral("1"));
        QCOMPARE(haltKey("remain"), QStringLiteral("0"));
        QCOMPARE(haltKey("date"), QStringLiteral("2026-3-4"));
        QCOMPARE(haltKey("time"), QStringLiteral("23:00:05"));
        QCOMPARE(haltKey("remaintime"), QStringLiteral("900"));
        QCOMPARE(haltKey("hint"), QStringLiteral("0"));

        // Shown again: the pickers follow the clock, the labels the file, the choices stay as they were.
        m_env->clock.advanceSecond(60);
        window.show();
        QCOMPARE(window.DateTimePicker2->time(), QTime(7, 9, 9));
        QCOMPARE(window.Label2->text(), QStringLiteral("定时关机"));
        QCOMPARE(window.Label4->text(), QStringLiteral("2026-3-4日23:00:05"));
        QVERIFY(!window.CheckBox1->isChecked());
        m_env->clock.advanceSecond(60);
        window.Button1->click();
        QCOMPARE(window.DateTimePicker2->time(), QTime(7, 10, 9));
    }

    void minutesFieldTakesOnlyWholeNumbersUpTo100()
    {
        TNotifyPopup popup;
        TFrmShutdown window(popup);
        window.show();
        window.RadioButton2->setChecked(true);
        window.Edit1->setFocus();
        window.Edit1->findChild<QLineEdit*>()->selectAll();
        QTest::keyClicks(window.Edit1, QStringLiteral("-a.5x")); // only the digit gets in
        window.Button2->click();
        QCOMPARE(haltKey("remaintime"), QStringLiteral("300"));
        window.show();
        window.Edit1->findChild<QLineEdit*>()->selectAll();
        QTest::keyClicks(window.Edit1, QStringLiteral("250"));
        window.Button2->click();
        QVERIFY(window.Edit1->value() <= 100);
        QCOMPARE(haltKey("remaintime"), QString::number(window.Edit1->value() * 60));
        QCOMPARE(haltKey("hint"), QStringLiteral("1"));
    }

    void hintRestoredAtCreation_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<bool>("checked");
        QTest::newRow("no file") << QByteArray() << true;
        QTest::newRow("1") << QByteArray("[halt]\nhint=1\n") << true;
        QTest::newRow("0") << QByteArray("[halt]\nhint=0\n") << false;
        QTest::newRow("only 1 is on") << QByteArray("[halt]\nhint=2\n") << false;
    }
    void hintRestoredAtCreation()
    {
        QFETCH(QByteArray, ini);
        QFETCH(bool, checked);
        if (!ini.isEmpty())
            m_env->writeFile(QStringLiteral("helper.ini"), ini);
        TNotifyPopup popup;
        TFrmShutdown window(popup);
        QCOMPARE(window.CheckBox1->isChecked(), checked);
    }

    void cancelAndExit_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QByteArray>("after");
        const QByteArray plan("[halt]\nappoint=0\nremain=1\nremaintime=500\n");
        QTest::newRow("取消设置 ends the plan, keeps the count")
            << QStringLiteral("Button3") << QByteArray("[halt]\nappoint=0\nremain=0\nremaintime=500\n");
        QTest::newRow("退出 writes nothing") << QStringLiteral("Button4") << plan;
    }
    void cancelAndExit()
    {
        QFETCH(QString, button);
        QFETCH(QByteArray, after);
        m_env->writeFile(QStringLiteral("helper.ini"), "[halt]\nappoint=0\nremain=1\nremaintime=500\n");
        TNotifyPopup popup;
        TFrmShutdown window(popup);
        window.show();
        QCOMPARE(window.Label4->text(), QStringLiteral("离关机还有8.33分"));
        window.findChild<QPushButton*>(button)->click();
        QVERIFY(!window.isVisible());
        QCOMPARE(m_env->readFile(QStringLiteral("helper.ini")), after);
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
    FakePower m_power;
};

QTEST_MAIN(TestFrmShutdown)
#include "TestFrmShutdown.moc"
