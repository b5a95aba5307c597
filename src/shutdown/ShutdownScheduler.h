#pragma once

#include "platform/TickSeconds.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <functional>

/// The plan of the scheduled power-off, kept in section "halt" of helper.ini so that it survives a restart.
/// Nothing of the plan is cached: every call reads the file afresh and every change is written at once. The only
/// state held here is which seconds the ticks evaluated (TickSeconds), so that a late tick catches up instead of
/// skipping the moment it was waiting for, and a clock set back a little warns and counts nothing twice.
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

    /// "离关机还有" + M + "分", M being the first four characters of seconds ÷ 60 in shortest decimal form.
    static QString remainLabel(int seconds);

private:
    /// Clears both modes, then asks for the power-off. Throws AppError when the request fails.
    void shutdownNow();

    QString m_path;
    TickSeconds m_seconds; ///< a run starts with the first tick that finds a plan
};
