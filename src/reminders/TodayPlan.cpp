#include "TodayPlan.h"

#include "ListPopup.h"
#include "ReminderTable.h"
#include "platform/AppPaths.h"
#include "platform/Clock.h"
#include "platform/Services.h"
#include "storage/TableQuery.h"
#include "widgets/TNotifyPopup.h"

namespace TodayPlan {

QString title()
{
    return QStringLiteral("今日事 ");
}

Plan load(TableQuery& query, const QDate& today)
{
    query.close();
    query.setSql(ReminderTable::selectToday(AppPaths::reminderTablePath()));
    query.paramByName(QStringLiteral("today")).setAsDate(today);
    query.open();

    Plan plan;
    plan.rows = query.recordCount();
    plan.height = ListPopup::height(plan.rows);
    for (query.first(); !query.eof(); query.next()) {
        plan.text += query.fieldAsString(QStringLiteral("hinttime")) + QStringLiteral("-->")
            + query.fieldAsString(QStringLiteral("content")) + QLatin1Char('\r');
    }
    return plan;
}

bool show(TableQuery& query, TNotifyPopup& popup, int timeOutSeconds)
{
    const Plan plan = load(query, Services::clock().now().date());
    if (plan.rows == 0)
        return false;
    popup.setWidth(plan.width);
    popup.setHeight(plan.height);
    popup.setTimeOut(timeOutSeconds);
    popup.setTitle(title());
    popup.setText(plan.text);
    popup.ShowNotification();
    return true;
}

} // namespace TodayPlan
