#pragma once

#include "Forms.h"
#include "fakes/FakeSoundPlayer.h"
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
#include <memory>

/// The reminder list, both editors and both phrase choosers over a temporary program folder, wired to each other
/// as start-up wires them, with the fakes installed and a fake shared sound player.
class ReminderWindows
{
public:
    ReminderWindows()
    {
        Services::setSoundPlayers(&players);
        alarm = std::make_unique<TFrmAlarm>();
        add = std::make_unique<TFrmAlarminf>();
        edit = std::make_unique<TFrmEdit>();
        chooser = std::make_unique<TFrmshowcontent>();
        chooser1 = std::make_unique<Tfrmshowcontent1>();
        Forms::FrmAlarm = alarm.get();
        Forms::FrmAlarminf = add.get();
        Forms::FrmEdit = edit.get();
        Forms::Frmshowcontent = chooser.get();
        Forms::frmshowcontent1 = chooser1.get();
    }
    ~ReminderWindows()
    {
        Forms::FrmAlarm = nullptr;
        Forms::FrmAlarminf = nullptr;
        Forms::FrmEdit = nullptr;
        Forms::Frmshowcontent = nullptr;
        Forms::frmshowcontent1 = nullptr;
        chooser1.reset();
        chooser.reset();
        edit.reset();
        add.reset();
        alarm.reset();
        Services::setSoundPlayers(nullptr);
    }
    ReminderWindows(const ReminderWindows&) = delete;
    ReminderWindows& operator=(const ReminderWindows&) = delete;

    /// The shared reminder player (the add window's MediaPlayer1).
    FakeSoundPlayer& player() { return *players.created.first(); }

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
    FakeSoundPlayerFactory players;
    std::unique_ptr<TFrmAlarm> alarm;
    std::unique_ptr<TFrmAlarminf> add;
    std::unique_ptr<TFrmEdit> edit;
    std::unique_ptr<TFrmshowcontent> chooser;
    std::unique_ptr<Tfrmshowcontent1> chooser1;
};
