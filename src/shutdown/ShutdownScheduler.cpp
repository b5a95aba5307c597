#include "ShutdownScheduler.h"

#include "platform/Clock.h"
#include "platform/Guarded.h"
#include "platform/Power.h"
#include "platform/Services.h"
#include "storage/Settings.h"

#include <algorithm>

namespace {

const QString kModeNone = QStringLiteral("没有设定自动关机");
const QString kModeAppointed = QStringLiteral("定时关机");
const QString kModeCounting = QStringLiteral("计时关机");

qint64 floorDiv(qint64 a, qint64 b)
{
    const qint64 q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

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
    m_count.reset();
}

void ShutdownScheduler::cancel()
{
    Settings settings(m_path);
    settings.hold();
    // The count left stays as it stands: as counted, not as last saved.
    if (settings.get(Settings::Counting) && unsaved(settings))
        saveCount(settings, m_count->now);
    m_count.reset();
    settings.setFolderSync(true);
    settings.set(Settings::Appointed, false);
    settings.set(Settings::Counting, false);
}

ShutdownScheduler::Status ShutdownScheduler::status() const
{
    Settings settings(m_path);
    settings.hold();
    Status status{ kModeNone, QString() };
    if (settings.get(Settings::Appointed))
        status = { kModeAppointed, appointedLabel(settings) };
    if (settings.get(Settings::Counting)) {
        const qint64 count = held(settings) ? m_count->now : settings.get(Settings::RemainTimeShown);
        status = { kModeCounting, remainLabel(int(std::clamp<qint64>(count, INT_MIN, INT_MAX))) };
    }
    return status;
}

bool ShutdownScheduler::held(const Settings& settings) const
{
    return m_count && m_count->saved == settings.get(Settings::RemainTime);
}

bool ShutdownScheduler::unsaved(const Settings& settings) const
{
    return held(settings) && m_count->now != m_count->saved;
}

void ShutdownScheduler::saveCount(Settings& settings, qint64 count)
{
    settings.setFolderSync(!m_folderSynced);
    settings.set(Settings::RemainTime, count);
    m_folderSynced = true;
    m_count = Count{ count, count };
}

void ShutdownScheduler::exiting()
{
    runGuarded([this] {
        if (!m_count || m_count->now == m_count->saved)
            return;
        Settings settings(m_path);
        settings.hold();
        if (settings.get(Settings::Counting) && unsaved(settings))
            saveCount(settings, m_count->now);
    });
}

ShutdownScheduler::TickResult ShutdownScheduler::tick()
{
    // One read of the file serves the whole tick, and the writes start from it.
    Settings settings(m_path);
    settings.hold();
    const bool appointed = settings.get(Settings::Appointed);
    const bool counting = settings.get(Settings::Counting);
    TickResult result;
    if (!appointed && !counting) {
        m_seconds.reset();
        m_count.reset();
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
        const qint64 stored = settings.get(Settings::RemainTime);
        const bool running = m_count && m_count->saved == stored;
        const qint64 before = running ? m_count->now : stored;
        const qint64 after = before - elapsed;
        if (elapsed > 0) {
            m_count = Count{ after, stored };
            // Saved at a run's first count, when it runs out, and when it reaches a multiple of kSaveSeconds.
            if (!running || after <= 0 || floorDiv(after - 1, kSaveSeconds) != floorDiv(before - 1, kSaveSeconds))
                saveCount(settings, after);
        }
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
        shutdownNow(settings);
    }
    return result;
}

void ShutdownScheduler::shutdownNow(Settings& settings)
{
    m_count.reset();
    settings.setFolderSync(true);
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
