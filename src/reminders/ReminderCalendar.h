#pragma once

#include "ReminderTable.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <array>

/// The reminders as iCalendar: every reminder as an event that calendar programs show and alarm, and events and
/// to-dos of other calendars taken in as reminders where their recurrence fits the table's frequencies.
namespace ReminderCalendar {

/// The name the export proposes: "提醒.ics".
QString defaultFileName();

/// The reminders as an iCalendar file; stamp is the moment of the export.
QByteArray write(const QList<Reminder>& reminders, const QDateTime& stamp);

/// Writes every reminder of the table, in table order, to file; an existing file is replaced only once the new one
/// is whole. Returns the number of reminders. Throws AppError when the file cannot be written.
int exportFile(const QString& file);

/// Why an event or to-do was not imported.
enum class Skip {
    NoStart, ///< no start time (nor, for a to-do, a due time)
    NoText, ///< an empty summary
    Yearly, ///< recurs every year
    Interval, ///< recurs every second day, week or month, or rarer
    CountOrUntil, ///< recurs a number of times or until a date
    SeveralDays, ///< recurs on several days of the week
    OtherRule, ///< any other recurrence the table cannot hold
    Duplicate, ///< every field equals a reminder already in the table, or one earlier in the file
};
constexpr int kSkipKinds = 8;

enum class FileKind {
    Calendar,
    NotCalendar, ///< no iCalendar in the bytes at all
    Damaged, ///< an iCalendar that cannot be read whole, cut off for example
};

struct Entry
{
    Reminder reminder;
    bool textCut = false; ///< the summary was longer than a reminder's text and was cut
};

struct ReadResult
{
    FileKind kind = FileKind::NotCalendar;
    QList<Entry> entries;
    std::array<int, kSkipKinds> skipped{};
};

/// Reads every event and to-do of the bytes. Never throws; what cannot be taken is skipped and counted.
ReadResult read(const QByteArray& bytes);

struct ImportResult
{
    FileKind kind = FileKind::NotCalendar;
    int imported = 0;
    int textsCut = 0; ///< of the reminders imported
    std::array<int, kSkipKinds> skipped{};
};

/// Adds the reminders of an iCalendar file to the reminder table in one transaction: when anything fails nothing is
/// added. Existing reminders are never changed. Throws AppError when the file cannot be read or the table fails.
ImportResult importFile(const QString& file);

/// The one message that ends an import.
QString summary(const ImportResult& result);

} // namespace ReminderCalendar
