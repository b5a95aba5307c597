#include "ReminderWindows.h"
#include "storage/TableQueryModel.h"
#include "widgets/GbkTextEdit.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

void clickRow(QTableView* grid, int row)
{
    const QRect cell = grid->visualRect(grid->model()->index(row, 3));
    QVERIFY(cell.isValid());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

Reminder withHint(const QString& content, const QString& hint)
{
    Reminder r = ReminderWindows::sample(content);
    r.hint = hint;
    return r;
}

/// The switch button that shows: "运  行" or "停  止" (or a note that not exactly one shows).
QString visibleSwitch(const TFrmAlarm& list)
{
    if (list.Button5->isVisible() == list.Button6->isVisible())
        return QStringLiteral("both or neither");
    return list.Button5->isVisible() ? list.Button5->text() : list.Button6->text();
}

} // namespace

class TestReminderList : public QObject
{
    Q_OBJECT
private slots:
    void gridShowsEveryRow();
    void emptyTableShowsRun();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void runAndStopStoreTheSwitch_data();
    void runAndStopStoreTheSwitch();
    void clickedRowSetsTheSwitch_data();
    void clickedRowSetsTheSwitch();
    void switchIsLeftAsItWas_data();
    void switchIsLeftAsItWas();
    void modifyButtonEditsTheClickedRow();
};

void TestReminderList::gridShowsEveryRow()
{
    ReminderWindows w;
    const QString first = w.insert(ReminderWindows::sample(u"一"_s));
    Reminder second = withHint(u"二"_s, u"否"_s);
    second.hintdate = QDate(2026, 11, 30);
    second.hinttime = QTime(17, 0, 0);
    second.sound.clear();
    second.dispear.clear();
    w.insert(second);
    TFrmAlarm& list = *w.alarm;

    list.show();

    QCOMPARE(list.windowTitle(), u"提醒列表"_s);
    QStringList titles;
    for (int c = 0; c < list.DBGrid1->model()->columnCount(); ++c)
        titles << list.DBGrid1->model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(titles,
             (QStringList{ u"是否提醒"_s, u"提醒日期"_s, u"提醒时间"_s, u"提醒内容"_s, u"提醒声音"_s, u"提醒频率"_s,
                           u"运行程序"_s, u"消失时间"_s }));
    QCOMPARE(list.DBGrid1->columnWidth(0), 59);
    // The titles and the widths that follow the text are set up only when the window is first shown.
    QVERIFY(list.DBGrid1->horizontalHeader()->isVisible());
    QVERIFY(list.DBGrid1->horizontalHeader()->height() > list.fontMetrics().height());
    QVERIFY(list.DBGrid1->columnWidth(1) > list.fontMetrics().horizontalAdvance(u"2027-12-31"_s));
    QVERIFY(list.DBGrid1->columnWidth(3) > list.DBGrid1->columnWidth(1));
    QCOMPARE(list.DBGrid1->model()->rowCount(), 2);
    QStringList cells;
    for (int c = 0; c < 8; ++c)
        cells << list.DBGrid1->model()->index(1, c).data().toString();
    QCOMPARE(cells,
             (QStringList{ u"否"_s, u"2026-11-30"_s, u"17:00:00"_s, u"二"_s, QString(), u"每天一次"_s,
                           u"/usr/bin/true"_s, QString() }));
    QCOMPARE(list.DBGrid1->model()->index(0, 1).data().toString(), u"2027-1-5"_s);
    QCOMPARE(list.DBGrid1->model()->index(0, 2).data().toString(), u"8:05:09"_s);
    QCOMPARE(list.DBGrid1->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(list.DBGrid1->editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(!(list.DBGrid1->model()->flags(list.DBGrid1->model()->index(0, 0)) & Qt::ItemIsEditable));
    QVERIFY(!list.DBEdit1->isVisible());
    QCOMPARE(list.DBEdit1->text(), first);
    QCOMPARE(list.DBGrid1->currentIndex().row(), 0);
    const QStringList captions{ list.Button1->text(), list.Button2->text(), list.Button3->text(),
                                list.Button5->text(), list.Button6->text(), list.BitBtn1->text() };
    QCOMPARE(captions, (QStringList{ u"增  加"_s, u"修  改"_s, u"删   除"_s, u"运  行"_s, u"停  止"_s, u"关闭"_s }));
    QCOMPARE(list.Button3->accessibleName(), u"删   除"_s);
}

void TestReminderList::emptyTableShowsRun()
{
    ReminderWindows w;
    w.alarm->show();
    QCOMPARE(w.alarm->DBGrid1->model()->rowCount(), 0);
    QCOMPARE(w.alarm->DBEdit1->text(), QString());
    QCOMPARE(visibleSwitch(*w.alarm), u"运  行"_s);
    // The switch and delete buttons then touch nothing.
    QTest::mouseClick(w.alarm->Button5, Qt::LeftButton);
    QTest::mouseClick(w.alarm->Button3, Qt::LeftButton);
    QVERIFY(w.rows().isEmpty());
}

void TestReminderList::deleteAsksFirst_data()
{
    QTest::addColumn<MsgAnswer>("answer");
    QTest::addColumn<QStringList>("remaining");
    QTest::newRow("cancel") << MsgAnswer::Cancel << QStringList{ u"一"_s, u"二"_s, u"三"_s };
    QTest::newRow("ok") << MsgAnswer::Ok << QStringList{ u"一"_s, u"三"_s };
}

void TestReminderList::deleteAsksFirst()
{
    QFETCH(MsgAnswer, answer);
    QFETCH(QStringList, remaining);
    ReminderWindows w;
    const QString first = w.insert(ReminderWindows::sample(u"一"_s));
    const QString second = w.insert(ReminderWindows::sample(u"二"_s));
    w.insert(ReminderWindows::sample(u"三"_s));
    TFrmAlarm& list = *w.alarm;
    list.show();
    clickRow(list.DBGrid1, 1);
    QCOMPARE(list.DBEdit1->text(), second);
    w.env.dialogs.setNextAnswer(answer);

    QTest::mouseClick(list.Button3, Qt::LeftButton);

    QCOMPARE(w.env.dialogs.boxes.size(), 1);
    QCOMPARE(w.env.dialogs.boxes.constFirst().text, u"你确定要删除此条记录？"_s);
    QCOMPARE(w.env.dialogs.boxes.constFirst().caption, u"提示"_s);
    QCOMPARE(w.env.dialogs.boxes.constFirst().icon, MsgIcon::Warning);
    QCOMPARE(w.env.dialogs.boxes.constFirst().buttons, MsgButtons::OkCancel);
    QStringList stored;
    for (const QStringList& row : w.rows())
        stored << row.at(4);
    QCOMPARE(stored, remaining);
    QCOMPARE(list.DBGrid1->model()->rowCount(), remaining.size());
    // A reload puts the first row back; a cancel leaves the grid where it was.
    QCOMPARE(list.DBEdit1->text(), answer == MsgAnswer::Ok ? first : second);
    QCOMPARE(list.DBGrid1->currentIndex().row(), answer == MsgAnswer::Ok ? 0 : 1);
}

void TestReminderList::runAndStopStoreTheSwitch_data()
{
    QTest::addColumn<QString>("firstHint");
    QTest::addColumn<QString>("secondHint");
    QTest::addColumn<QString>("stored"); // the second row's hint after the switch
    QTest::addColumn<QString>("switchAfterward"); // follows the first row
    QTest::newRow("run, first stopped") << u"否"_s << u"否"_s << u"是"_s << u"运  行"_s;
    QTest::newRow("run, first active") << u"是"_s << u"否"_s << u"是"_s << u"停  止"_s;
    QTest::newRow("stop, first stopped") << u"否"_s << u"是"_s << u"否"_s << u"运  行"_s;
    QTest::newRow("stop, first active") << u"是"_s << u"是"_s << u"否"_s << u"停  止"_s;
}

void TestReminderList::runAndStopStoreTheSwitch()
{
    QFETCH(QString, firstHint);
    QFETCH(QString, secondHint);
    QFETCH(QString, stored);
    QFETCH(QString, switchAfterward);
    ReminderWindows w;
    w.insert(withHint(u"一"_s, firstHint));
    w.insert(withHint(u"二"_s, secondHint));
    TFrmAlarm& list = *w.alarm;
    list.show();
    clickRow(list.DBGrid1, 1);

    QTest::mouseClick(secondHint == u"是" ? list.Button6 : list.Button5, Qt::LeftButton);

    QCOMPARE(w.rows().at(0).at(1), firstHint);
    QCOMPARE(w.rows().at(1).at(1), stored);
    QCOMPARE(list.DBGrid1->model()->index(1, 0).data().toString(), stored);
    QCOMPARE(list.DBGrid1->currentIndex().row(), 0);
    QCOMPARE(visibleSwitch(list), switchAfterward);
}

void TestReminderList::clickedRowSetsTheSwitch_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("expected");
    QTest::newRow("active") << 1 << u"停  止"_s;
    QTest::newRow("stopped") << 2 << u"运  行"_s;
    QTest::newRow("neither") << 0 << u"运  行"_s;
}

void TestReminderList::clickedRowSetsTheSwitch()
{
    QFETCH(int, row);
    QFETCH(QString, expected);
    ReminderWindows w;
    w.insert(withHint(u"一"_s, u"x"_s));
    w.insert(withHint(u"二"_s, u"是"_s));
    w.insert(withHint(u"三"_s, u"否"_s));
    TFrmAlarm& list = *w.alarm;
    list.show();
    clickRow(list.DBGrid1, row);
    QCOMPARE(list.DBEdit1->text(), w.rows().at(row).at(0));
    QCOMPARE(visibleSwitch(list), expected);
}

void TestReminderList::switchIsLeftAsItWas_data()
{
    // Rows: 一 active, 二 stopped, 三 active. Only showing, a click on a cell, 运行 and 停止 apply the run/stop rule;
    // after these actions the switch still shows what it showed before, whatever row is current now.
    QTest::addColumn<int>("clicked"); // the row clicked first; -1 for none
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("currentAfter");
    QTest::newRow("keyboard down onto a stopped row") << -1 << u"down"_s << u"停  止"_s << 1;
    QTest::newRow("keyboard up onto an active row") << 1 << u"up"_s << u"运  行"_s << 0;
    QTest::newRow("delete a stopped row, active one first") << 1 << u"delete"_s << u"运  行"_s << 0;
    QTest::newRow("delete the active first row") << 0 << u"delete"_s << u"停  止"_s << 0;
}

void TestReminderList::switchIsLeftAsItWas()
{
    QFETCH(int, clicked);
    QFETCH(QString, action);
    QFETCH(QString, before);
    QFETCH(int, currentAfter);
    ReminderWindows w;
    w.insert(withHint(u"一"_s, u"是"_s));
    w.insert(withHint(u"二"_s, u"否"_s));
    w.insert(withHint(u"三"_s, u"是"_s));
    TFrmAlarm& list = *w.alarm;
    list.show();
    if (clicked >= 0)
        clickRow(list.DBGrid1, clicked);
    QCOMPARE(visibleSwitch(list), before);

    if (action == u"delete") {
        w.env.dialogs.setNextAnswer(MsgAnswer::Ok);
        QTest::mouseClick(list.Button3, Qt::LeftButton);
        QCOMPARE(w.rows().size(), 2);
    } else {
        QTest::keyClick(list.DBGrid1, action == u"down" ? Qt::Key_Down : Qt::Key_Up);
    }

    QCOMPARE(list.DBGrid1->currentIndex().row(), currentAfter);
    // The hidden key follows the current row all the same, so 修改 and 删除 act on the row the user sees.
    QCOMPARE(list.DBEdit1->text(), w.rows().at(currentAfter).at(0));
    QCOMPARE(visibleSwitch(list), before);
}

void TestReminderList::modifyButtonEditsTheClickedRow()
{
    ReminderWindows w;
    w.insert(ReminderWindows::sample(u"一"_s));
    const QString second = w.insert(withHint(u"二"_s, u"否"_s));
    TFrmAlarm& list = *w.alarm;
    list.show();
    clickRow(list.DBGrid1, 1);
    QString shownKey;
    QString shownText;
    // The editor runs modally; answer it from inside its own loop.
    QTimer::singleShot(0, w.edit, [&w, &shownKey, &shownText] {
        shownKey = w.edit->Edit3->text();
        shownText = w.edit->Memo1->toPlainText();
        QTest::mouseClick(w.edit->BitBtn2, Qt::LeftButton);
    });

    QTest::mouseClick(list.Button2, Qt::LeftButton);

    QCOMPARE(shownKey, second);
    QCOMPARE(shownText, u"二"_s);
    QVERIFY(!w.edit->isVisible());
    QCOMPARE(list.DBGrid1->currentIndex().row(), 0);
    // The editor's reload leaves the switch as the click on the stopped row set it.
    QCOMPARE(visibleSwitch(list), u"运  行"_s);
}

QTEST_MAIN(TestReminderList)
#include "TestReminderList.moc"
