#include "ReminderWindows.h"
#include "reminders/ReminderCalendar.h"
#include "storage/TableQueryModel.h"

#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;

class TestCalendarMenus : public QObject
{
    Q_OBJECT
private slots:
    void gridHasTheContextMenu();
    void exportGoesThroughTheSaveDialog();
    void importGoesThroughTheOpenDialog_data();
    void importGoesThroughTheOpenDialog();
    void cancelledDialogsDoNothing();
};

void TestCalendarMenus::gridHasTheContextMenu()
{
    ReminderWindows w;
    TFrmAlarm& list = *w.alarm;
    QCOMPARE(list.DBGrid1->contextMenuPolicy(), Qt::CustomContextMenu);
    QCOMPARE(list.findChild<QMenu*>(u"PopupMenu1"_s), list.PopupMenu1);
    QStringList texts;
    for (const QAction* a : list.PopupMenu1->actions())
        texts << a->text();
    QCOMPARE(texts, (QStringList{ u"导出到日历文件…"_s, u"从日历文件导入…"_s }));
    QCOMPARE(list.findChild<QAction*>(u"N1"_s), list.N1);
    QCOMPARE(list.findChild<QAction*>(u"N2"_s), list.N2);

    list.show();
    emit list.DBGrid1->customContextMenuRequested(QPoint(20, 20));
    QTRY_VERIFY(list.PopupMenu1->isVisible());
    list.PopupMenu1->hide();

    // The buttons stay as they were.
    QStringList buttons;
    for (const QPushButton* b : list.findChildren<QPushButton*>())
        buttons << b->objectName() + u'=' + b->text();
    QCOMPARE(buttons,
             (QStringList{ u"Button1=增  加"_s, u"Button2=修  改"_s, u"Button3=删   除"_s, u"Button5=运  行"_s,
                           u"Button6=停  止"_s, u"BitBtn1=关闭"_s }));
    list.close();
}

void TestCalendarMenus::exportGoesThroughTheSaveDialog()
{
    ReminderWindows w;
    Reminder stopped = ReminderWindows::sample(u"停着的"_s);
    stopped.hint = u"否"_s;
    w.insert(ReminderWindows::sample(u"一"_s));
    w.insert(stopped);
    const QString target = w.env.path(u"bak/提醒.ics"_s);
    w.env.dialogs.setNextFileName(target);
    w.alarm->N1->trigger();

    QCOMPARE(w.env.dialogs.fileDialogs.size(), 1);
    const FileDialogOptions& o = w.env.dialogs.fileDialogs.at(0);
    QCOMPARE(o.title, u"导出到日历文件"_s);
    QCOMPARE(o.initialDir, w.env.path(u"bak/"_s));
    QCOMPARE(o.fileName, u"提醒.ics"_s);
    QCOMPARE(o.defaultSuffix, u"ics"_s);
    QVERIFY(o.filter.contains(u"*.ics"_s));
    QVERIFY(o.confirmOverwrite);
    const ReminderCalendar::ReadResult back = ReminderCalendar::read(w.env.readFile(u"bak/提醒.ics"_s));
    QCOMPARE(back.entries.size(), 2);
    QCOMPARE(back.entries.at(1).reminder.hint, u"否"_s);
    QCOMPARE(w.env.dialogs.texts(), QStringList{ u"已导出 2 条提醒到："_s + target });
}

void TestCalendarMenus::importGoesThroughTheOpenDialog_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("rows");
    QTest::newRow("events") << ReminderCalendar::write(
        { ReminderWindows::sample(u"二"_s), ReminderWindows::sample(u"三"_s) }, QDateTime::currentDateTime())
                            << u"共导入 2 条提醒。"_s << int(MsgIcon::Information) << 3;
    QTest::newRow("not a calendar") << QByteArray("hello") << u"所选文件不是iCalendar日历文件，没有导入任何提醒。"_s
                                    << int(MsgIcon::Warning) << 1;
}

void TestCalendarMenus::importGoesThroughTheOpenDialog()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QFETCH(int, icon);
    QFETCH(int, rows);
    ReminderWindows w;
    w.insert(ReminderWindows::sample(u"一"_s));
    w.alarm->FormShow();
    w.env.writeFile(u"bak/calendar.ics"_s, bytes);
    w.env.dialogs.setNextFileName(w.env.path(u"bak/calendar.ics"_s));
    w.alarm->N2->trigger();

    QCOMPARE(w.env.dialogs.fileDialogs.size(), 1);
    QCOMPARE(w.env.dialogs.fileDialogs.at(0).title, u"从日历文件导入"_s);
    QCOMPARE(w.env.dialogs.fileDialogs.at(0).initialDir, w.env.path(u"bak/"_s));
    QCOMPARE(w.env.dialogs.texts(), QStringList{ message });
    QCOMPARE(int(w.env.dialogs.boxes.at(0).icon), icon);
    QCOMPARE(w.rows().size(), rows);
    QCOMPARE(w.alarm->DataSource1->rowCount(), rows);
}

void TestCalendarMenus::cancelledDialogsDoNothing()
{
    ReminderWindows w;
    w.insert(ReminderWindows::sample(u"一"_s));
    w.alarm->N1->trigger();
    w.alarm->N2->trigger();
    QCOMPARE(w.env.dialogs.fileDialogs.size(), 2);
    QVERIFY(w.env.dialogs.boxes.isEmpty());
    QVERIFY(QDir(w.env.path(u"bak"_s)).isEmpty());
    QCOMPARE(w.rows().size(), 1);
}

QTEST_MAIN(TestCalendarMenus)
#include "TestCalendarMenus.moc"
