#include "ShutdownScheduler.h"

#include "platform/Clock.h"
#include "platform/Power.h"
#include "platform/Services.h"
#include "storage/SettingsFile.h"
#include "text/DateFormats.h"

#include <algorithm>

namespace {

const QString kHalt = QStringLiteral("halt");
const QString kAppoint = QStringLiteral("appoint");
const QString kRemain = QStringLiteral("remain");
const QString kDate = QStringLiteral("date");
const QString kTime = QStringLiteral("time");
const QString kRemainTime = QStringLiteral("remaintime");
const QString kHint = QStringLiteral("hint");

const QString kModeNone = QStringLiteral("没有设定自动关机");
const QString kModeAppointed = QStringLiteral("定时关机");
const QString kModeCounting = QStringLiteral("计时关机");

/// A late tick catches up at most this many seconds; anything longer (a suspend, a clock set forward by hand) is
/// not treated as time the plan was waiting through.
constexpr qint64 kMaxCatchUp = 60;

QDateTime wholeSecond(const QDateTime& moment)
{
    const QTime t = moment.time();
    return QDateTime(moment.date(), QTime(t.hour(), t.minute(), t.second()));
}

QString appointedLabel(const SettingsFile& settings)
{
    return settings.readString(kHalt, kDate, QString()) + QStringLiteral("日")
        + settings.readString(kHalt, kTime, QString());
}

} // namespace

const QString ShutdownScheduler::kWarningTitle = QStringLiteral("关机");
const QString ShutdownScheduler::kWarningText = QStringLiteral("离关机还有一分钟，请保存数据，退出所有程序!");

ShutdownScheduler::ShutdownScheduler(QString settingsPath)
    : m_path(std::move(settingsPath))
{ }

void ShutdownScheduler::apply(const Plan& plan)
{
    SettingsFile settings(m_path);
    settings.writeInteger(kHalt, kAppoint, plan.appointed ? 1 : 0);
    settings.writeString(kHalt, kDate, DateFormats::shortDate(plan.date));
    settings.writeString(kHalt, kTime, DateFormats::longTime(plan.time));
    settings.writeInteger(kHalt, kRemain, plan.appointed ? 0 : 1);
    settings.writeInteger(kHalt, kRemainTime, plan.minutes * 60);
    settings.writeInteger(kHalt, kHint, plan.hint ? 1 : 0);
    // A new plan starts counting from the next tick, not from whatever second an older plan last saw.
    m_lastTick = QDateTime();
}

void ShutdownScheduler::cancel()
{
    SettingsFile settings(m_path);
    settings.writeInteger(kHalt, kAppoint, 0);
    settings.writeInteger(kHalt, kRemain, 0);
}

ShutdownScheduler::Status ShutdownScheduler::status() const
{
    const SettingsFile settings(m_path);
    Status status{ kModeNone, QString() };
    if (settings.readInteger(kHalt, kAppoint, 0) == 1)
        status = { kModeAppointed, appointedLabel(settings) };
    if (settings.readInteger(kHalt, kRemain, 0) == 1)
        status = { kModeCounting, remainLabel(settings.readInteger(kHalt, kRemainTime, 1000000)) };
    return status;
}

ShutdownScheduler::TickResult ShutdownScheduler::tick()
{
    SettingsFile settings(m_path);
    const bool appointed = settings.readInteger(kHalt, kAppoint, 0) == 1;
    const bool counting = settings.readInteger(kHalt, kRemain, 0) == 1;
    TickResult result;
    if (!appointed && !counting) {
        m_lastTick = QDateTime();
        return result;
    }
    result.active = true;

    // The seconds this tick stands for: (now - elapsed, now]. The first tick of a run stands for the current second
    // only, so a moment that passed while the program was not running never switches the computer off.
    const QDateTime now = wholeSecond(Services::clock().now());
    qint64 elapsed = 1;
    if (m_lastTick.isValid()) {
        const qint64 since = m_lastTick.secsTo(now);
        elapsed = since < 0 ? 1 : std::min(since, kMaxCatchUp); // a clock set back starts afresh
    }
    m_lastTick = now;
    const QDateTime windowStart = now.addSecs(-elapsed);
    auto covers = [&](const QDateTime& moment) { return moment.isValid() && windowStart < moment && moment <= now; };

    const bool hint = settings.readInteger(kHalt, kHint, 1) == 1;
    bool due = false;

    if (appointed) {
        result.modeLabel = kModeAppointed;
        result.timeLabel = appointedLabel(settings);
        // A date or time that cannot be read gives no appointed moment at all.
        const QDate date = settings.readDateTime(kHalt, kDate, QDateTime()).date();
        const QTime time = DateFormats::parseLongTime(settings.readString(kHalt, kTime, QString()));
        if (date.isValid() && time.isValid()) {
            const QDateTime moment(date, time);
            if (covers(moment))
                due = true;
            else if (hint && covers(moment.addSecs(-60)))
                result.warn = true;
        }
    }

    if (counting) {
        const qint64 before = settings.readInteger(kHalt, kRemainTime, 10000);
        const qint64 after = before - elapsed;
        if (elapsed > 0)
            settings.writeString(kHalt, kRemainTime, QString::number(after));
        result.modeLabel = kModeCounting;
        result.timeLabel = remainLabel(int(std::clamp<qint64>(after, INT_MIN, INT_MAX)));
        if (hint && before > 60 && after <= 60)
            result.warn = true;
        if (after <= 0)
            due = true;
    }

    if (due) {
        result.warn = false;
        result.poweredOff = true;
        shutdownNow();
    }
    return result;
}

void ShutdownScheduler::shutdownNow()
{
    SettingsFile settings(m_path);
    settings.writeInteger(kHalt, kAppoint, 0);
    settings.writeInteger(kHalt, kRemain, 0);
    Services::power().powerOff();
}

QString ShutdownScheduler::remainLabel(int seconds)
{
    // Shortest decimal form with up to 15 significant digits: 899 s give "14.9833333333333", shown as "14.9".
    const QString minutes = QString::number(double(seconds) / 60.0, 'g', 15);
    return QStringLiteral("离关机还有") + minutes.left(4) + QStringLiteral("分");
}
