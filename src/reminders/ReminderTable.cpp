#include "ReminderTable.h"

#include "storage/TableQuery.h"
#include "text/SafeLiteral.h"

namespace ReminderTable {

QString selectAll(const QString& tablePath)
{
    return QStringLiteral("select * from '") + tablePath + QLatin1Char('\'');
}

QString selectToday(const QString& tablePath)
{
    return QStringLiteral("select * from '") + tablePath + QStringLiteral("' where hintdate=:today");
}

QString insert(const QString& tablePath)
{
    return QStringLiteral("insert into '") + tablePath
        + QStringLiteral("' (hint,hintdate,hinttime,content,sound,frequency,program,dispear) values "
                         "(:a,:b,:c,:d,:e,:f,:g,:h)");
}

QString updateLine1(const QString& tablePath)
{
    return QStringLiteral("update '") + tablePath
        + QStringLiteral(
               "' set hint=:a,hintdate=:b,hinttime=:c,content=:d,sound=:e,frequency=:f,program=:g,dispear=:h ");
}

QString updateLine2(const QString& num)
{
    return QStringLiteral(" where num='") + safeLiteral(num) + QLatin1Char('\'');
}

QString setActive(const QString& tablePath, const QString& num)
{
    return QStringLiteral("update '") + tablePath + QStringLiteral("' set hint='是' where num='") + safeLiteral(num)
        + QLatin1Char('\'');
}

QString setStopped(const QString& tablePath, const QString& num)
{
    return QStringLiteral("update '") + tablePath + QStringLiteral("' set hint='否' where num='") + safeLiteral(num)
        + QLatin1Char('\'');
}

QString remove(const QString& tablePath, const QString& num)
{
    return QStringLiteral("delete from '") + tablePath + QStringLiteral("' where num='") + safeLiteral(num)
        + QLatin1Char('\'');
}

void bindValues(TableQuery& query, const Reminder& r)
{
    query.param(0).setAsString(r.hint);
    query.param(1).setAsDate(r.hintdate);
    query.param(2).setAsTime(r.hinttime);
    query.param(3).setAsString(r.content);
    query.param(4).setAsString(r.sound);
    query.param(5).setAsString(r.frequency);
    query.param(6).setAsString(r.program);
    query.param(7).setAsString(r.dispear);
}

Reminder current(const TableQuery& query)
{
    Reminder r;
    r.num = query.fieldAsString(QStringLiteral("num"));
    r.hint = query.fieldAsString(QStringLiteral("hint"));
    r.hintdate = query.fieldAsDateTime(QStringLiteral("hintdate")).date();
    r.hinttime = query.fieldAsDateTime(QStringLiteral("hinttime")).time();
    r.content = query.fieldAsString(QStringLiteral("content"));
    r.sound = query.fieldAsString(QStringLiteral("sound"));
    r.frequency = query.fieldAsString(QStringLiteral("frequency"));
    r.program = query.fieldAsString(QStringLiteral("program"));
    r.dispear = query.fieldAsString(QStringLiteral("dispear"));
    return r;
}

Columns Columns::of(const TableRow& row)
{
    return { row.column(QStringLiteral("num")),       row.column(QStringLiteral("hint")),
             row.column(QStringLiteral("hintdate")),  row.column(QStringLiteral("hinttime")),
             row.column(QStringLiteral("content")),   row.column(QStringLiteral("sound")),
             row.column(QStringLiteral("frequency")), row.column(QStringLiteral("program")),
             row.column(QStringLiteral("dispear")) };
}

Reminder read(const TableRow& row, const Columns& c)
{
    Reminder r;
    r.num = row.string(c.num);
    r.hint = row.string(c.hint);
    r.hintdate = row.dateTime(c.hintdate).date();
    r.hinttime = row.dateTime(c.hinttime).time();
    r.content = row.string(c.content);
    r.sound = row.string(c.sound);
    r.frequency = row.string(c.frequency);
    r.program = row.string(c.program);
    r.dispear = row.string(c.dispear);
    return r;
}

} // namespace ReminderTable
