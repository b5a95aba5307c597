#pragma once

#include "SettingsFile.h"

#include <QDate>
#include <QString>
#include <QTime>

/// A key of helper.ini that holds a switch: a whole number of which only 1 means on, written as 1 or 0.
struct SwitchKey
{
    const char* section;
    const char* name;
    bool defaultOn; ///< also what a value that is no whole number reads as
};

/// A key that holds a whole number, decimal (or hexadecimal with "0x" or "$" when edited by hand).
struct NumberKey
{
    const char* section;
    const char* name;
    int defaultValue; ///< also what a value that is no whole number reads as
};

/// A key that holds a date as text in the short date format; missing, it reads as empty text and no date.
struct DateKey
{
    const char* section;
    const char* name;
};

/// A key that holds a time of day as text in the long time format; missing, it reads as empty text and no time.
struct TimeKey
{
    const char* section;
    const char* name;
};

/// A key that holds a moment to the second with its offset from UTC (DateFormats::moment); missing or unreadable, it
/// reads as no moment.
struct MomentKey
{
    const char* section;
    const char* name;
};

/// The settings model: every key of helper.ini with its section, its default and how it is stored, in the one
/// table below, and typed reads and writes over SettingsFile. Every reader and writer of the program goes through
/// here; nothing else spells a key or a default. Each read opens the file afresh and each write is on disk before it
/// returns, as SettingsFile does it, unless a caller holds the file for a moment or turns the folder sync off (the
/// running countdown does both).
class Settings
{
public:
    // Section "system": the settings window's switches and the skin.
    static constexpr SwitchKey Autostart{ "system", "autostart", true };
    static constexpr SwitchKey ShowPlan{ "system", "show", true }; ///< today's plan at start-up
    static constexpr SwitchKey AutoClosePlan{ "system", "autoclose", true }; ///< the plan closes after 10 s
    static constexpr SwitchKey Chime{ "system", "clock", true }; ///< the hourly chime
    static constexpr SwitchKey HideMain{ "system", "hide", false }; ///< the main window stays hidden at start
    static constexpr NumberKey Skin{ "system", "skin", 0 }; ///< index into SkinTable; -1 for none

    // Section "system", kept outside the settings window: the report of missed reminders.
    /// Reminders that fell due while no engine ran are listed at start and after a sleep (MissedReminders).
    static constexpr SwitchKey Missed{ "system", "missed", true };
    /// The reminder engine's heartbeat: no second after it has been evaluated (MissedReminders).
    static constexpr MomentKey LastAlive{ "system", "lastalive" };

    // Section "halt": the plan of the scheduled power-off.
    static constexpr SwitchKey Appointed{ "halt", "appoint", false }; ///< "定时关机" at date and time
    static constexpr SwitchKey Counting{ "halt", "remain", false }; ///< "计时关机" when remaintime runs out
    static constexpr DateKey Date{ "halt", "date" };
    static constexpr TimeKey Time{ "halt", "time" };
    /// Seconds still to go; the countdown takes a missing count as 10000.
    static constexpr NumberKey RemainTime{ "halt", "remaintime", 10000 };
    /// The same count as the status label reads it: a counting plan without a count shows a plainly wrong one.
    static constexpr NumberKey RemainTimeShown{ RemainTime.section, RemainTime.name, 1000000 };
    static constexpr SwitchKey Hint{ "halt", "hint", true }; ///< the one-minute warning

    /// The six values of section "system".
    struct System
    {
        bool autostart = Autostart.defaultOn;
        bool showPlan = ShowPlan.defaultOn;
        bool autoClosePlan = AutoClosePlan.defaultOn;
        bool chime = Chime.defaultOn;
        bool hideMain = HideMain.defaultOn;
        int skin = Skin.defaultValue;
    };

    /// helper.ini in the program folder.
    Settings();
    explicit Settings(QString path);

    bool get(const SwitchKey& key) const;
    int get(const NumberKey& key) const;
    /// The stored text read as a date (a date-time's date); invalid when missing or unreadable.
    QDate get(const DateKey& key) const;
    /// The stored text read as a time of day; invalid when missing or unreadable.
    QTime get(const TimeKey& key) const;
    QDateTime get(const MomentKey& key) const;
    /// The text as it is stored, empty when missing.
    QString text(const DateKey& key) const;
    QString text(const TimeKey& key) const;

    /// Each write throws AppError when the file cannot be written; the old file is then left as it was.
    void set(const SwitchKey& key, bool on);
    void set(const NumberKey& key, qint64 value);
    void set(const DateKey& key, const QDate& date);
    void set(const TimeKey& key, const QTime& time);
    void set(const MomentKey& key, const QDateTime& moment);

    /// Reads the six values of section "system".
    System system() const;
    /// Writes the six values of section "system", in the order of their keys above.
    void setSystem(const System& values);

    /// Reads the file once, now, for the reads and writes that follow (SettingsFile::hold).
    void hold() { m_file.hold(); }
    /// Whether writes wait for the rename to reach the disk (SettingsFile::setFolderSync); they do by default.
    void setFolderSync(bool on) { m_file.setFolderSync(on); }

    /// What is wrong with the file on disk, or empty when it is sound or missing (see SettingsFile::problem).
    QString problem() const { return m_file.problem(); }

private:
    SettingsFile m_file;
};
