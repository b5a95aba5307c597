#include "FakeSoundPlayer.h"
#include "ProgramWindows.h"
#include "TFrmMain.h"
#include "TestEnvironment.h"
#include "VantrelApplication.h"
#include "widgets/TNavBar.h"

#include <QAction>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void windowHasItsCaptionAndSize();
    void navigationBarHeadersAndButtons_data();
    void navigationBarHeadersAndButtons();
    void trayMenuItemsInOrder();
    void closeHidesInsteadOfEnding();
    void exitAsksAndOnlyOkEnds_data();
    void exitAsksAndOnlyOkEnds();
    void hideSettingDecidesTheStart_data();
    void hideSettingDecidesTheStart();
    void linksGoThroughTheShell();
    void damagedSettingsFileIsReported();
    void standardButtonsReadChinese();

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<ProgramWindows> m_windows;
    TFrmMain* m_main = nullptr;
};

void TestMainWindow::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_windows = std::make_unique<ProgramWindows>();
    m_main = &m_windows->window<TFrmMain>();
}

void TestMainWindow::cleanup()
{
    m_main = nullptr;
    m_windows.reset();
    m_env.reset();
}

void TestMainWindow::windowHasItsCaptionAndSize()
{
    QCOMPARE(m_main->windowTitle(), QStringLiteral("Vantrel"));
    QCOMPARE(m_main->size(), QSize(457, 326));
    QCOMPARE(m_main->minimumSize(), m_main->maximumSize());
    QVERIFY(!(m_main->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(m_main->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(m_main->NavBar1->width(), 134);
    QVERIFY(!m_main->Image1->pixmap().isNull());
    // Drawn at the size the panels leave it, the picture fills them.
    m_main->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main));
    QCOMPARE(m_main->Image1->pixmap().size(), m_main->Image1->contentsRect().size());
}

void TestMainWindow::navigationBarHeadersAndButtons_data()
{
    QTest::addColumn<int>("header");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("items");
    const QString stars = QStringLiteral("***********************");
    QTest::newRow("reminders") << 0 << QStringLiteral("提醒Vantrel")
                               << QStringList{ QStringLiteral("提醒列表"), QStringLiteral("系统设置"),
                                               QStringLiteral("调整本地时间") };
    QTest::newRow("cards") << 1 << QStringLiteral("名片Vantrel")
                           << QStringList{ QStringLiteral("名片管理"), QStringLiteral("名片查询") };
    QTest::newRow("help") << 2 << QStringLiteral("帮助Vantrel")
                          << QStringList{ QStringLiteral("软件升级"),    stars,
                                          QStringLiteral("Brellan主页"), QStringLiteral("Brellan留言本"),
                                          QStringLiteral("给我写信"),    stars,
                                          QStringLiteral("帮助主题"),    QStringLiteral("关于...") };
    QTest::newRow("power") << 3 << QStringLiteral("关机Vantrel")
                           << QStringList{ QStringLiteral("关机设置"), QStringLiteral("隐藏Vantrel"), stars,
                                           QStringLiteral("退出Vantrel") };
}

void TestMainWindow::navigationBarHeadersAndButtons()
{
    QFETCH(int, header);
    QFETCH(QString, caption);
    QFETCH(QStringList, items);
    TNavBar* bar = m_main->NavBar1;
    QCOMPARE(bar->headerCount(), 4);
    QCOMPARE(bar->header(header)->text(), caption);

    // The group's buttons and labels, top to bottom.
    QWidget* group = bar->findChild<QWidget*>(QStringLiteral("NavBarGroup%1").arg(header + 1));
    QVERIFY(group);
    QList<QWidget*> entries;
    for (QObject* child : group->children()) {
        if (auto* w = qobject_cast<QWidget*>(child); w && (qobject_cast<QToolButton*>(w) || qobject_cast<QLabel*>(w)))
            entries << w;
    }
    std::sort(entries.begin(), entries.end(),
              [group](QWidget* a, QWidget* b) { return group->layout()->indexOf(a) < group->layout()->indexOf(b); });
    QStringList texts;
    for (QWidget* w : entries)
        texts << (qobject_cast<QToolButton*>(w) ? qobject_cast<QToolButton*>(w)->text()
                                                : qobject_cast<QLabel*>(w)->text());
    QCOMPARE(texts, items);
}

void TestMainWindow::trayMenuItemsInOrder()
{
    QStringList captions;
    for (QAction* action : m_main->PopupMenu1->actions())
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(captions,
             (QStringList{ QStringLiteral("打开Vantrel"), QStringLiteral("今日计划"), QStringLiteral("-"),
                           QStringLiteral("打开电子钟"), QStringLiteral("关闭提醒音乐"), QStringLiteral("Brellan主页"),
                           QStringLiteral("关于"), QStringLiteral("-"), QStringLiteral("退出"), QStringLiteral("-") }));
}

void TestMainWindow::closeHidesInsteadOfEnding()
{
    m_main->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main));
    QVERIFY(!m_main->close());
    QVERIFY(!m_main->isVisible());
    QCOMPARE(m_main->N11->text(), QStringLiteral("关闭电子钟"));
    QVERIFY(m_main->Timer2->isActive());

    // "隐藏Vantrel" does the same.
    m_main->show();
    m_main->BtnHide->click();
    QVERIFY(!m_main->isVisible());
    QVERIFY(m_env->dialogs.boxes.isEmpty());
}

void TestMainWindow::exitAsksAndOnlyOkEnds_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("ends");
    QTest::addColumn<bool>("fromTray");
    QTest::newRow("bar, OK") << int(MsgAnswer::Ok) << true << false;
    QTest::newRow("bar, cancel") << int(MsgAnswer::Cancel) << false << false;
    QTest::newRow("tray, OK") << int(MsgAnswer::Ok) << true << true;
    QTest::newRow("tray, cancel") << int(MsgAnswer::Cancel) << false << true;
}

void TestMainWindow::exitAsksAndOnlyOkEnds()
{
    QFETCH(int, answer);
    QFETCH(bool, ends);
    QFETCH(bool, fromTray);
    m_main->show();
    m_env->dialogs.setNextAnswer(MsgAnswer(answer));

    QSignalSpy exit(m_main, &TFrmMain::exitRequested);
    if (fromTray)
        m_main->N16->trigger();
    else
        m_main->BtnExit->click();
    const bool ended = exit.count() == 1;

    QCOMPARE(m_env->dialogs.boxes.size(), 1);
    const FakeDialogs::Box& box = m_env->dialogs.boxes.first();
    QCOMPARE(box.text, QStringLiteral("确 定 要 退 出 此 系 统!"));
    QCOMPARE(box.caption, QStringLiteral("提示"));
    QCOMPARE(int(box.icon), int(MsgIcon::Warning));
    QCOMPARE(int(box.buttons), int(MsgButtons::OkCancel));
    QCOMPARE(ended, ends);
    QCOMPARE(m_main->isVisible(), !ends);
}

void TestMainWindow::hideSettingDecidesTheStart_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("shown");
    QTest::newRow("no file") << QByteArray() << true;
    QTest::newRow("hide=1") << QByteArray("[system]\r\nhide=1\r\n") << false;
    QTest::newRow("hide=2") << QByteArray("[system]\r\nhide=2\r\n") << true;
    QTest::newRow("hide=word") << QByteArray("[system]\r\nhide=on\r\n") << true;
}

void TestMainWindow::hideSettingDecidesTheStart()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, shown);
    if (!ini.isEmpty())
        m_env->writeFile(QStringLiteral("helper.ini"), ini);
    FakeSoundPlayer player;
    TFrmMain main(player);
    QCOMPARE(main.showMainForm(), shown);
}

void TestMainWindow::linksGoThroughTheShell()
{
    m_main->BtnHomePage->click();
    m_main->BtnGuestBook->click();
    m_main->BtnMail->click();
    m_main->BtnHelp->click();
    m_main->BtnLocalTime->click();
    QCOMPARE(m_env->shell.opened.size(), 4);
    QVERIFY(m_env->shell.opened.at(0).startsWith(QStringLiteral("http://")));
    QVERIFY(m_env->shell.opened.at(1).endsWith(QStringLiteral("/book/index.asp")));
    QVERIFY(m_env->shell.opened.at(2).startsWith(QStringLiteral("mailto:")));
    QCOMPARE(m_env->shell.opened.at(3), m_env->appDir() + QStringLiteral("helper.chm"));
    QCOMPARE(m_env->shell.dateTimeSettingsOpened, 1);
}

void TestMainWindow::damagedSettingsFileIsReported()
{
    const QByteArray damaged("\x00\x13garbage\xff\xfe", 11);
    m_env->writeFile(QStringLiteral("helper.ini"), damaged);
    m_env->errors.clear();
    FakeSoundPlayer player;
    TFrmMain main(player);
    QVERIFY(main.showMainForm());
    QCOMPARE(m_env->errors.size(), 1);
    QVERIFY(m_env->errors.first().contains(QStringLiteral("helper.ini")));
    QCOMPARE(m_env->readFile(QStringLiteral("helper.ini")), damaged);
}

void TestMainWindow::standardButtonsReadChinese()
{
    QVERIFY(VantrelApplication::installQtTranslation(qApp));
    QMessageBox box(QMessageBox::Warning, QStringLiteral("提示"), QStringLiteral("x"),
                    QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
}

QTEST_MAIN(TestMainWindow)
#include "TestMainWindow.moc"
