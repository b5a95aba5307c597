#include "ShutdownScheduler.h"

#include "platform/Clock.h"
#include "platform/Power.h"
#include "platform/Services.h"
#include "storage/Settings.h"

#include <algorithm>

namespace {

const QString kModeNone = QStringLiteral("没有设定自动关机");
const QString kModeAppointed = QStringLiteral("定时关机");
const QString kModeCounting = QStringLiteral("计时关机");

QString appointedLabel(const Settings& settings)
{
    return settings.text(Settings::Date) + QStringLiteral("日") + settings.text(Settings::Time);
}

} // namespace

const QString ShutdownScheduler::kWarningTitle = QStringLiteral("关机");
const QString ShutdownScheduler::kWarningText = QStringLiteral("离关机还有一分钟，请保存数据，退出所有程序!");

ShutdownScheduler::ShutdownScheduler(QString settingsPath)
    : m_path(std::move(settingsPath))
{ }

void ShutdownScheduler::apply(const Plan& plan)
{
    Settings settings(m_path);
    settings.set(Settings::Appointed, plan.appointed);
    settings.set(Settings::Date, plan.date);
    settings.set(Settings::Time, plan.time);
    settings.set(Settings::Counting, !plan.appointed);
    settings.set(Settings::RemainTime, plan.minutes * 60);
    settings.set(Settings::Hint, plan.hint);
    // A new plan starts counting from the next tick, not from whatever second an older plan last saw.
    m_seconds.reset();
}

void ShutdownScheduler::cancel()
{
    Settings settings(m_path);
    settings.set(Settings::Appointed, false);
    settings.set(Settings::Counting, false);
}

ShutdownScheduler::Status ShutdownScheduler::status() const
{
    const Settings settings(m_path);
    Status status{ kModeNone, QString() };
    if (settings.get(Settings::Appointed))
        status = { kModeAppointed, appointedLabel(settings) };
    if (settings.get(Settings::Counting))
        status = { kModeCounting, remainLabel(settings.get(Settings::RemainTimeShown)) };
    return status;
}

ShutdownScheduler::TickResult ShutdownScheduler::tick()
{
    Settings settings(m_path);
    const bool appointed = settings.get(Settings::Appointed);
    const bool counting = settings.get(Settings::Counting);
    TickResult result;
    if (!appointed && !counting) {
        m_seconds.reset();
        return result;
    }
    result.active = true;

    // The first tick of a run stands for the current second only, so a moment that passed while the program was not
    // running never switches the computer off.
    const QList<QDateTime> seconds = m_seconds.take(Services::clock().now());
    const qint64 elapsed = seconds.size();
    auto covers = [&](const QDateTime& moment) { return moment.isValid() && seconds.contains(moment); };

    const bool hint = settings.get(Settings::Hint);
    bool due = false;

    if (appointed) {
        result.modeLabel = kModeAppointed;
        result.timeLabel = appointedLabel(settings);
        // A date or time that cannot be read gives no appointed moment at all.
        const QDate date = settings.get(Settings::Date);
        const QTime time = settings.get(Settings::Time);
        if (date.isValid() && time.isValid()) {
            const QDateTime moment(date, time);
            if (covers(moment))
                due = true;
            else if (hint && covers(moment.addSecs(-60)))
                result.warn = true;
        }
    }

    if (counting) {
        const qint64 before = settings.get(Settings::RemainTime);
        const qint64 after = before - elapsed;
        if (elapsed > 0)
            settings.set(Settings::RemainTime, after);
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
    Settings settings(m_path);
    settings.set(Settings::Appointed, false);
    settings.set(Settings::Counting, false);
    Services::power().powerOff();
}

QString ShutdownScheduler::remainLabel(int seconds)
{
    // Shortest decimal form with up to 15 significant digits: 899 s give "14.9833333333333", shown as "14.9".
    const QString minutes = QString::number(double(seconds) / 60.0, 'g', 15);
    return QStringLiteral("离关机还有") + minutes.left(4) + QStringLiteral("分");
}
