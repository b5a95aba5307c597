#pragma once

#include "platform/TickSeconds.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <functional>
#include <optional>

class Settings;

/// The plan of the scheduled power-off, kept in section "halt" of helper.ini so that it survives a restart.
/// Every call reads the file afresh (a tick reads it once) and every change of the plan is written at once. Held here
/// are which seconds the ticks evaluated (TickSeconds), so that a late tick catches up instead of skipping the
/// moment it was waiting for, and a clock set back a little warns and counts nothing twice; and a running count.
///
/// A running count is saved at the first tick of a run, whenever it reaches a multiple of kSaveSeconds, when it runs
/// out, when the plan is cancelled and at exit: each save replaces the file on disk, and once a second would cost
/// a disk page a second. A count that loses its last seconds to a crash or a power cut only resumes later, never
/// earlier, so its saves also leave the rename to the system after the first one. While the file still holds the
/// count last saved, the ticks go on from the count held here; a count someone else wrote is taken as it stands.
class ShutdownScheduler
{
public:
    /// What "应用设置" stores.
    struct Plan
    {
        bool appointed = true; ///< "定时关机"; otherwise "计时关机"
        QDate date;
        QTime time;
        int minutes = 15;
        bool hint = true; ///< "关机前1分钟提示"
    };

    /// The two labels of "目前状态".
    struct Status
    {
        QString mode;
        QString time;
    };

    /// What one tick did. Labels are null when the tick left them alone.
    struct TickResult
    {
        bool active = false; ///< false: no plan, the timer may stop
        bool warn = false; ///< the one-minute warning is due now
        bool poweredOff = false;
        QString modeLabel;
        QString timeLabel;
    };

    explicit ShutdownScheduler(QString settingsPath);

    static const QString kWarningTitle;
    static const QString kWarningText;

    /// Writes appoint, date, time, remain, remaintime and hint, in that order.
    void apply(const Plan& plan);
    /// Ends the plan; the count left in remaintime stays as it stands.
    void cancel();
    /// The labels as the window shows them when it opens.
    Status status() const;

    /// One timer tick: evaluates the seconds the timing rule gives it; the countdown goes down by their number.
    /// Throws AppError when the power-off request fails; the plan is already cleared then.
    TickResult tick();

    /// Saves the running count, when it has seconds not yet saved. Never throws; what fails is reported.
    void exiting();

    /// "离关机还有" + M + "分", M being the first four characters of seconds ÷ 60 in shortest decimal form.
    static QString remainLabel(int seconds);

    /// A running count is saved when it reaches a multiple of this many seconds.
    static constexpr int kSaveSeconds = 10;

private:
    /// The running count: what the ticks counted down to, and what was last saved of it.
    struct Count
    {
        qint64 now;
        qint64 saved;
    };
    /// A count runs here and the file still holds what was last saved of it.
    bool held(const Settings& settings) const;
    /// The same, with seconds counted since.
    bool unsaved(const Settings& settings) const;
    void saveCount(Settings& settings, qint64 count);
    /// Clears both modes, then asks for the power-off. Throws AppError when the request fails.
    void shutdownNow(Settings& settings);

    QString m_path;
    TickSeconds m_seconds; ///< a run starts with the first tick that finds a plan
    std::optional<Count> m_count; ///< empty when no count runs, or when the file's count stands as it is
    bool m_folderSynced = false; ///< a save of the count already waited for its rename
};
