#pragma once

#include "ProgramWindows.h"
#include "fakes/TestEnvironment.h"
#include "platform/AppPaths.h"
#include "platform/Services.h"
#include "reminders/ReminderTable.h"
#include "reminders/TFrmAlarm.h"
#include "reminders/TFrmAlarminf.h"
#include "reminders/TFrmEdit.h"
#include "reminders/TFrmshowcontent.h"
#include "reminders/Tfrmshowcontent1.h"
#include "storage/TableFiles.h"
#include "storage/TableQuery.h"

#include <QSqlQuery>
#include <QStringList>

/// The program's windows over a temporary program folder, as start-up builds them, with the fakes installed; the
/// reminder list, both editors and both phrase choosers at hand.
class ReminderWindows
{
public:
    /// The shared reminder player (the add window's MediaPlayer1).
    FakeSoundPlayer& player() { return program.reminderPlayer(); }

    /// Stores a row as the add window would, and returns its num.
    QString insert(const Reminder& r)
    {
        TableQuery query;
        query.setSql(ReminderTable::insert(AppPaths::reminderTablePath()));
        ReminderTable::bindValues(query, r);
        query.execSql();
        return rows().constLast().constFirst();
    }

    /// Every row as stored, in key order: num, hint, hintdate, hinttime, content, sound, frequency, program, dispear.
    QList<QStringList> rows() const
    {
        // Straight from the table file, so the check does not go through the code under test.
        QSqlQuery q(TableFiles::connection(TableFiles::resolve(AppPaths::reminderTablePath())));
        q.exec(QStringLiteral("select num,hint,hintdate,hinttime,content,sound,frequency,program,dispear "
                              "from time order by num"));
        QList<QStringList> result;
        while (q.next()) {
            QStringList row;
            for (int i = 0; i < 9; ++i)
                row << q.value(i).toString();
            result << row;
        }
        return result;
    }

    /// A reminder with every field filled, active.
    static Reminder sample(const QString& content)
    {
        Reminder r;
        r.hint = QStringLiteral("是");
        r.hintdate = QDate(2027, 1, 5);
        r.hinttime = QTime(8, 5, 9);
        r.content = content;
        r.sound = QStringLiteral("小汽车");
        r.frequency = QStringLiteral("每天一次");
        r.program = QStringLiteral("/usr/bin/true");
        r.dispear = QStringLiteral("30");
        return r;
    }

    TestEnvironment env;
    ProgramWindows program;
    FakeSoundPlayerFactory& players = program.players;
    TFrmAlarm* alarm = &program.window<TFrmAlarm>();
    TFrmAlarminf* add = &program.window<TFrmAlarminf>();
    TFrmEdit* edit = &program.window<TFrmEdit>();
    TFrmshowcontent* chooser = &program.window<TFrmshowcontent>();
    Tfrmshowcontent1* chooser1 = &program.window<Tfrmshowcontent1>();
};
