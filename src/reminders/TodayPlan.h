#pragma once

#include "ListPopup.h"

#include <QDate>
#include <QString>

class TableQuery;
class TNotifyPopup;

/// The list of today's reminders, one line each ("9:30:00-->开会" and a carriage return), shown on a pop-up at
/// start-up and from the tray menu.
namespace TodayPlan {

/// The pop-up's title, with its trailing blank.
QString title();

struct Plan
{
    int rows = 0;
    QString text;
    int width = ListPopup::kWidth;
    int height = ListPopup::height(0);
};

/// Selects the reminders dated `today` on `query` and builds the plan from them in table order. The query is left
/// open on the result. Throws AppError when the table cannot be read.
Plan load(TableQuery& query, const QDate& today);

/// Loads today's plan and, when there is at least one row, shows it on `popup` with the given time-out in seconds.
/// Returns whether a pop-up was shown. The query is left open; callers that want it closed close it.
bool show(TableQuery& query, TNotifyPopup& popup, int timeOutSeconds);

} // namespace TodayPlan
