#include "FakeAutostart.h"
#include "FakeSoundPlayer.h"
#include "TFrmMain.h"
#include "TFrmSystemset.h"
#include "TestEnvironment.h"
#include "platform/AppPaths.h"
#include "platform/Services.h"
#include "platform/SoundPlayer.h"
#include "reminders/ReminderTable.h"
#include "reminders/Tfrmaddcontent.h"
#include "storage/SettingsFile.h"
#include "storage/TableQuery.h"
#include "widgets/GbkLineEdit.h"
#include "widgets/TNotifyPopup.h"
#include "widgets/TSkinEngine.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

/// Records what is done to the players it makes.
class RecordingPlayers : public SoundPlayerFactory
{
public:
    struct Player : SoundPlayer
    {
        explicit Player(QStringList* log)
            : m_log(log)
        { }
        void setFileName(const QString& fileName) override { m_file = fileName; }
        QString fileName() const override { return m_file; }
        void open() override { *m_log << QStringLiteral("open ") + m_file; }
        void play() override { *m_log << QStringLiteral("play"); }
        void stop() override { *m_log << QStringLiteral("stop"); }
        void close() override { *m_log << QStringLiteral("close"); }
        QStringList* m_log;
        QString m_file;
    };
    std::unique_ptr<SoundPlayer> create() override { return std::make_unique<Player>(&log); }
    QStringList log;
};

/// The settings window in a temporary program folder, with the platform fakes it talks to.
struct Fixture
{
    Fixture() { install(); }
    explicit Fixture(const QByteArray& ini)
    {
        env.writeFile(QStringLiteral("helper.ini"), ini);
        install();
    }
    ~Fixture()
    {
        window.reset();
        Services::setSoundPlayers(nullptr);
        Services::setAutostart(nullptr);
    }
    void install()
    {
        Services::setSoundPlayers(&players);
        Services::setAutostart(&autostart);
    }
    TFrmSystemset& create()
    {
        window = std::make_unique<TFrmSystemset>(skins);
        return *window;
    }
    int readSystem(const char* key) const
    {
        return SettingsFile(AppPaths::settingsFilePath())
            .readInteger(QStringLiteral("system"), QString::fromLatin1(key), -99);
    }
    QStringList listed() const
    {
        QStringList items;
        for (int i = 0; i < window->ListBox1->count(); ++i)
            items << window->ListBox1->item(i)->text();
        return items;
    }

    TestEnvironment env;
    RecordingPlayers players;
    FakeAutostart autostart;
    TSkinEngine skins;
    std::unique_ptr<TFrmSystemset> window;
};

QList<bool> ticks(const TFrmSystemset& w)
{
    return { w.CheckBox1->isChecked(), w.CheckBox2->isChecked(), w.CheckBox3->isChecked(), w.CheckBox4->isChecked(),
             w.CheckBox5->isChecked() };
}

void addReminderToday(const QString& content)
{
    TableQuery query;
    query.setSql(ReminderTable::insert(AppPaths::reminderTablePath()));
    Reminder r;
    r.hint = QStringLiteral("是");
    r.hintdate = Services::clock().now().date();
    r.hinttime = QTime(9, 0);
    r.content = content;
    r.frequency = QStringLiteral("一次");
    ReminderTable::bindValues(query, r);
    query.execSql();
}

} // namespace

class TestSystemset : public QObject
{
    Q_OBJECT
private slots:
    void defaultsWithoutSettingsFile()
    {
        Fixture f;
        TFrmSystemset& w = f.create();
        QCOMPARE(ticks(w), (QList<bool>{ true, true, true, true, false }));
        QCOMPARE(w.ComboBox1->currentText(), QStringLiteral("蓝色幻想"));
        QVERIFY(w.Timer1->isActive());
        QCOMPARE(w.ComboBox1->count(), 8);
        QVERIFY(!QFile::exists(f.env.path(QStringLiteral("helper.ini"))));
    }

    void loadsEachKey_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QList<bool>>("expected");
        QTest::addColumn<QString>("skin");
        QTest::newRow("all off") << QByteArray("[system]\nautostart=0\nshow=0\nautoclose=0\nclock=0\nhide=0\nskin=6\n")
                                 << QList<bool>{ false, false, false, false, false } << QStringLiteral("纯真年代");
        QTest::newRow("2 is not on") << QByteArray("[system]\nautostart=2\nshow=2\nautoclose=2\nclock=2\nhide=2\n")
                                     << QList<bool>{ false, false, false, false, false } << QStringLiteral("蓝色幻想");
        QTest::newRow("a word gives the default")
            << QByteArray("[system]\nautostart=yes\nshow=on\nautoclose=x\nclock=true\nhide=one\nskin=blue\n")
            << QList<bool>{ true, true, true, true, false } << QStringLiteral("蓝色幻想");
        QTest::newRow("hexadecimal one") << QByteArray("[system]\nhide=0x1\nclock=$1\nskin=$7\n")
                                         << QList<bool>{ true, true, true, true, true } << QStringLiteral("蓝色的爱");
        QTest::newRow("skin out of range")
            << QByteArray("[system]\nskin=8\n") << QList<bool>{ true, true, true, true, false } << QString();
    }
    void loadsEachKey()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QList<bool>, expected);
        QFETCH(QString, skin);
        Fixture f(ini);
        TFrmSystemset& w = f.create();
        QCOMPARE(ticks(w), expected);
        QCOMPARE(w.ComboBox1->currentText(), skin);
        QCOMPARE(w.Timer1->isActive(), expected.at(3));
    }

    void reloadsAtEveryShowing()
    {
        Fixture f;
        TFrmSystemset& w = f.create();
        f.env.writeFile(QStringLiteral("helper.ini"), "[system]\nautostart=0\nclock=0\nhide=1\nskin=3\n");
        w.show();
        QCOMPARE(ticks(w), (QList<bool>{ false, true, true, false, true }));
        QCOMPARE(w.ComboBox1->currentIndex(), 3);
        QVERIFY(!w.Timer1->isActive());
    }

    void okWritesEveryKeyAndThePhrases()
    {
        Fixture f;
        TFrmSystemset& w = f.create();
        w.show();
        w.CheckBox2->setChecked(false);
        w.CheckBox5->setChecked(true);
        w.ComboBox1->setCurrentIndex(4);
        w.ListBox1->addItems({ QStringLiteral("开会"), QStringLiteral("Call Tom") });
        w.BitBtn4->click();

        QCOMPARE(w.result(), int(QDialog::Accepted));
        QVERIFY(!w.isVisible());
        QCOMPARE(f.readSystem("autostart"), 1);
        QCOMPARE(f.readSystem("show"), 0);
        QCOMPARE(f.readSystem("autoclose"), 1);
        QCOMPARE(f.readSystem("clock"), 1);
        QCOMPARE(f.readSystem("hide"), 1);
        QCOMPARE(f.readSystem("skin"), 4);
        QCOMPARE(f.env.readFile(QStringLiteral("content.dat")), QByteArray("\xbf\xaa\xbb\xe1\r\nCall Tom\r\n"));
    }

    void autostartFollowsTheBox()
    {
        Fixture f;
        TFrmSystemset& w = f.create();
        w.show();
        w.BitBtn4->click();
        QVERIFY(f.autostart.enabled);
        QCOMPARE(f.autostart.path, AppPaths::executablePath());

        w.show();
        w.CheckBox1->setChecked(false);
        w.BitBtn4->click();
        QVERIFY(!f.autostart.enabled);
        QCOMPARE(f.autostart.disableCalls, 1);
        QCOMPARE(f.readSystem("autostart"), 0);
    }

    void failedAutostartStillSavesTheRestAndSaysSo()
    {
        Fixture f;
        f.autostart.failText = QStringLiteral("无法写入自动启动项");
        TFrmSystemset& w = f.create();
        w.show();
        w.CheckBox4->setChecked(false);
        w.ListBox1->addItem(QStringLiteral("phrase"));
        w.BitBtn4->click();

        QCOMPARE(f.env.errors, QStringList{ QStringLiteral("无法写入自动启动项") });
        QCOMPARE(f.readSystem("autostart"), 1);
        QCOMPARE(f.readSystem("clock"), 0);
        QCOMPARE(f.env.readFile(QStringLiteral("content.dat")), QByteArray("phrase\r\n"));
    }

    void defaultsThenCancelLeaveTheFileAlone()
    {
        const QByteArray ini("; kept as it is\r\n[system]\r\nautostart=0\r\nshow = 0\r\nautoclose=2\r\nclock=0\r\n"
                             "hide=1\r\nskin=5\r\n[halt]\r\nmode=1\r\n");
        Fixture f(ini);
        f.env.writeFile(QStringLiteral("content.dat"), "a\r\nb\r\n");
        TFrmSystemset& w = f.create();
        w.show();
        w.SpeedButton3->click();
        QCOMPARE(ticks(w), (QList<bool>{ true, true, true, true, false }));
        QCOMPARE(w.ComboBox1->currentText(), QStringLiteral("蓝色幻想"));
        QVERIFY(!f.skins.Active()); // "默认值" does not repaint
        w.BitBtn3->click();

        QCOMPARE(w.result(), int(QDialog::Rejected));
        QCOMPARE(f.env.readFile(QStringLiteral("helper.ini")), ini);
        QCOMPARE(f.env.readFile(QStringLiteral("content.dat")), QByteArray("a\r\nb\r\n"));
        QCOMPARE(f.autostart.enableCalls + f.autostart.disableCalls, 0);
    }

    void chimeBoxSwitchesTheTimerAtOnceUntilNextShowing()
    {
        Fixture f;
        TFrmSystemset& w = f.create();
        w.show();
        QVERIFY(w.Timer1->isActive());
        w.CheckBox4->click();
        QVERIFY(!w.CheckBox4->isChecked());
        QVERIFY(!w.Timer1->isActive());
        w.BitBtn3->click();
        QVERIFY(!w.Timer1->isActive()); // cancelling keeps the chime off
        w.show();
        QVERIFY(w.Timer1->isActive()); // the file still says "clock" is on
    }

    void chimePlaysClocker1OnItsOwnPlayer()
    {
        Fixture f;
        TFrmSystemset& w = f.create();
        f.env.clock.set(QDateTime(QDate(2026, 12, 10), QTime(12, 59, 59, 600)));
        w.Timer1Timer();
        QVERIFY(f.players.log.isEmpty());
        f.env.clock.advanceMs(1600); // the tick came late, at 13:00:01.2
        w.Timer1Timer();
        QCOMPARE(f.players.log,
                 (QStringList{ QStringLiteral("open ") + AppPaths::soundDir() + QStringLiteral("clocker1.wav"),
                               QStringLiteral("play") }));
        f.env.clock.advanceMs(300);
        w.Timer1Timer();
        QCOMPARE(f.players.log.size(), 2);
    }

    void choosingASkinAppliesItAtOnce()
    {
        Fixture f;
        const QByteArray sheet("QDialog { background: #fdf5e6; }");
        f.env.writeFile(QStringLiteral("skin/02.skn"), sheet);
        TFrmSystemset& w = f.create();
        w.ComboBox1->setCurrentIndex(6);
        emit w.ComboBox1->activated(6);
        QCOMPARE(w.ComboBox1->currentText(), QStringLiteral("纯真年代"));
        QCOMPARE(f.skins.SkinFile(), f.env.path(QStringLiteral("skin/02.skn")));
        QVERIFY(f.skins.Active());
        QCOMPARE(f.skins.sheetInUse(), QString::fromUtf8(sheet));

        // A skin whose file is missing leaves the current one.
        w.ComboBox1->setCurrentIndex(1);
        emit w.ComboBox1->activated(1);
        QCOMPARE(f.skins.SkinFile(), f.env.path(QStringLiteral("skin/02.skn")));
        QCOMPARE(f.skins.sheetInUse(), QString::fromUtf8(sheet));
    }

    void todaysPlanAtStart_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<int>("timeOut");
        QTest::newRow("defaults") << QByteArray() << true << 10;
        QTest::newRow("autoclose off") << QByteArray("[system]\nautoclose=0\n") << true << 1000;
        QTest::newRow("show off") << QByteArray("[system]\nshow=0\n") << false << 0;
    }
    void todaysPlanAtStart()
    {
        QFETCH(QByteArray, ini);
        QFETCH(bool, shown);
        QFETCH(int, timeOut);
        Fixture f(ini);
        addReminderToday(QStringLiteral("开会"));
        TFrmSystemset& w = f.create();
        QCOMPARE(w.NotifyPopup1->popups().size(), shown ? 1 : 0);
        QVERIFY(!w.Query1->isActive());
        if (shown) {
            QCOMPARE(w.NotifyPopup1->Title(), QStringLiteral("今日事 "));
            QCOMPARE(w.NotifyPopup1->Text(), QStringLiteral("9:00:00-->开会\r"));
            QCOMPARE(w.NotifyPopup1->TimeOut(), timeOut);
        }
    }

    void trayItemShowsTodaysPlanWhenStartUpShowsNone()
    {
        Fixture f("[system]\nshow=0\n");
        addReminderToday(QStringLiteral("开会"));
        TFrmSystemset& w = f.create();
        QVERIFY(w.NotifyPopup1->popups().isEmpty());

        FakeSoundPlayer player;
        TFrmMain main(player);
        main.N5->trigger();
        QCOMPARE(main.NotifyPopup1->popups().size(), 1);
        QCOMPARE(main.NotifyPopup1->Text(), QStringLiteral("9:00:00-->开会\r"));
        QCOMPARE(main.NotifyPopup1->TimeOut(), 1000);
        QCOMPARE(main.NotifyPopup1->Height(), 200);
        QVERIFY(main.Query2->isActive());
    }

    void mainWindowLoadsTheStoredSkin()
    {
        Fixture f("[system]\nskin=6\n");
        f.env.writeFile(QStringLiteral("skin/02.skn"), "QDialog { background: #fdf5e6; }");
        FakeSoundPlayer player;
        TFrmMain main(player);
        QCOMPARE(main.SkinEngine1->SkinFile(), f.env.path(QStringLiteral("skin/02.skn")));
        QVERIFY(main.SkinEngine1->Active());
        QCOMPARE(main.SkinEngine1->sheetInUse(), QStringLiteral("QDialog { background: #fdf5e6; }"));
    }

    void removingSelectedPhrasesKeepsTheOthersInOrder()
    {
        Fixture f;
        TFrmSystemset& w = f.create();
        w.ListBox1->addItems({ QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"),
                               QStringLiteral("e") });
        w.SpeedButton2->click(); // nothing selected: nothing removed
        QCOMPARE(f.listed().size(), 5);
        w.ListBox1->item(1)->setSelected(true);
        w.ListBox1->item(2)->setSelected(true);
        w.ListBox1->item(4)->setSelected(true);
        w.SpeedButton2->click();
        QCOMPARE(f.listed(), (QStringList{ QStringLiteral("a"), QStringLiteral("d") }));

        w.ListBox1->selectAll();
        w.SpeedButton2->click();
        w.BitBtn4->click();
        QVERIFY(QFile::exists(f.env.path(QStringLiteral("content.dat"))));
        QCOMPARE(f.env.readFile(QStringLiteral("content.dat")), QByteArray());
    }

    void addingPhrases()
    {
        Fixture f;
        TFrmSystemset& w = f.create();
        w.ListBox1->addItem(QStringLiteral("Call Tom"));
        Tfrmaddcontent add(*w.ListBox1);
        add.show();

        add.BitBtn1->click(); // empty text
        QCOMPARE(f.env.dialogs.boxes.size(), 1);
        QCOMPARE(f.env.dialogs.boxes.at(0).text, QStringLiteral("请 输 入 提 醒 内 容!"));
        QCOMPARE(f.env.dialogs.boxes.at(0).caption, QStringLiteral("提示"));
        QCOMPARE(f.env.dialogs.boxes.at(0).icon, MsgIcon::Warning);

        add.Edit1->setText(QStringLiteral("CALL tom"));
        add.BitBtn1->click();
        add.Edit1->setText(QStringLiteral("开会"));
        add.BitBtn1->click();
        add.BitBtn1->click(); // the text stays, the second add is a duplicate
        QCOMPARE(f.listed(), (QStringList{ QStringLiteral("Call Tom"), QStringLiteral("开会") }));
        QCOMPARE(add.Edit1->text(), QStringLiteral("开会"));
        QVERIFY(add.isVisible());

        add.hide();
        add.show(); // each showing starts empty
        QVERIFY(add.Edit1->text().isEmpty());
    }

    void enterInTheTextMovesToAdd()
    {
        Fixture f;
        TFrmSystemset& w = f.create();
        Tfrmaddcontent add(*w.ListBox1);
        add.show();
        QApplication::setActiveWindow(&add);
        add.Edit1->setText(QStringLiteral("x"));
        add.Edit1->setFocus();
        QTest::keyClick(add.Edit1, Qt::Key_Return);
        QVERIFY(f.listed().isEmpty()); // nothing added yet
        QVERIFY(add.BitBtn1->hasFocus());
        QTest::keyClick(add.BitBtn1, Qt::Key_Return);
        QCOMPARE(f.listed(), QStringList{ QStringLiteral("x") });
    }

    void cancelDropsUnsavedPhrasesWhenAFileExists()
    {
        Fixture f;
        f.env.writeFile(QStringLiteral("content.dat"), "one\r\n\r\ntwo\n");
        TFrmSystemset& w = f.create();
        w.show();
        QCOMPARE(f.listed(), (QStringList{ QStringLiteral("one"), QString(), QStringLiteral("two") }));
        w.ListBox1->addItem(QStringLiteral("three"));
        w.BitBtn3->click();
        w.show();
        QCOMPARE(f.listed().size(), 3);
    }
};

QTEST_MAIN(TestSystemset)
#include "TestSystemset.moc"
