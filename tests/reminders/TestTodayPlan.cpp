#include "TestEnvironment.h"
#include "platform/AppPaths.h"
#include "reminders/ReminderTable.h"
#include "reminders/TodayPlan.h"
#include "storage/TableQuery.h"
#include "widgets/TNotifyPopup.h"

#include <QTest>

namespace {
const QDate kToday(2026, 12, 10);

void addReminder(const QDate& date, const QTime& time, const QString& content,
                 const QString& frequency = QStringLiteral("一次"), const QString& hint = QStringLiteral("是"))
{
    TableQuery query;
    query.setSql(ReminderTable::insert(AppPaths::reminderTablePath()));
    Reminder r;
    r.hint = hint;
    r.hintdate = date;
    r.hinttime = time;
    r.content = content;
    r.frequency = frequency;
    r.dispear = QStringLiteral("10");
    ReminderTable::bindValues(query, r);
    query.execSql();
}
} // namespace

class TestTodayPlan : public QObject
{
    Q_OBJECT
private slots:
    void textListsTodaysRowsWithCarriageReturns()
    {
        TestEnvironment env;
        addReminder(kToday, QTime(9, 5), QStringLiteral("开会"));
        addReminder(kToday.addDays(1), QTime(10, 0), QStringLiteral("明天的事"));
        addReminder(kToday, QTime(13, 30, 15), QStringLiteral("Call back"), QStringLiteral("一次"),
                    QStringLiteral("否")); // stopped reminders are listed too
        // Created yesterday as a daily reminder: it fires today, but its date is not today.
        addReminder(kToday.addDays(-1), QTime(8, 0), QStringLiteral("每天吃药"), QStringLiteral("每天一次"));

        TableQuery query;
        const TodayPlan::Plan plan = TodayPlan::load(query, kToday);
        QCOMPARE(plan.rows, 2);
        QCOMPARE(plan.text, QStringLiteral("9:05:00-->开会\r13:30:15-->Call back\r"));
        QVERIFY(query.isActive());
    }

    void sizeFollowsTheRowCount_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("height");
        QTest::newRow("one") << 1 << 200;
        QTest::newRow("six") << 6 << 200;
        QTest::newRow("seven") << 7 << 400;
    }
    void sizeFollowsTheRowCount()
    {
        QFETCH(int, rows);
        QFETCH(int, height);
        TestEnvironment env;
        for (int i = 0; i < rows; ++i)
            addReminder(kToday, QTime(8 + i, 0), QStringLiteral("事%1").arg(i));
        TableQuery query;
        TNotifyPopup popup;
        QVERIFY(TodayPlan::show(query, popup, 1000));
        QCOMPARE(popup.Width(), 270);
        QCOMPARE(popup.Height(), height);
        QCOMPARE(popup.Title(), QStringLiteral("今日事 "));
        QCOMPARE(popup.TimeOut(), 1000);
        QCOMPARE(popup.Text().count(QLatin1Char('\r')), rows);
        QCOMPARE(popup.popups().size(), 1);
    }

    void nothingDatedTodayShowsNothing()
    {
        TestEnvironment env;
        addReminder(kToday.addDays(-1), QTime(8, 0), QStringLiteral("昨天"), QStringLiteral("每天一次"));
        TableQuery query;
        TNotifyPopup popup;
        QVERIFY(!TodayPlan::show(query, popup, 10));
        QVERIFY(popup.popups().isEmpty());
    }
};

QTEST_MAIN(TestTodayPlan)
#include "TestTodayPlan.moc"
