#include "Settings.h"

#include "platform/AppPaths.h"
#include "text/DateFormats.h"

namespace {
QString section(const auto& key)
{
    return QString::fromLatin1(key.section);
}
QString name(const auto& key)
{
    return QString::fromLatin1(key.name);
}
} // namespace

Settings::Settings()
    : Settings(AppPaths::settingsFilePath())
{ }

Settings::Settings(QString path)
    : m_file(std::move(path))
{ }

bool Settings::get(const SwitchKey& key) const
{
    return m_file.readInteger(section(key), name(key), key.defaultOn ? 1 : 0) == 1;
}

int Settings::get(const NumberKey& key) const
{
    return m_file.readInteger(section(key), name(key), key.defaultValue);
}

QDate Settings::get(const DateKey& key) const
{
    return m_file.readDateTime(section(key), name(key), QDateTime()).date();
}

QTime Settings::get(const TimeKey& key) const
{
    return DateFormats::parseLongTime(text(key));
}

QDateTime Settings::get(const MomentKey& key) const
{
    return DateFormats::parseMoment(m_file.readString(section(key), name(key), QString()));
}

QString Settings::text(const DateKey& key) const
{
    return m_file.readString(section(key), name(key), QString());
}

QString Settings::text(const TimeKey& key) const
{
    return m_file.readString(section(key), name(key), QString());
}

void Settings::set(const SwitchKey& key, bool on)
{
    m_file.writeInteger(section(key), name(key), on ? 1 : 0);
}

void Settings::set(const NumberKey& key, qint64 value)
{
    m_file.writeString(section(key), name(key), QString::number(value));
}

void Settings::set(const DateKey& key, const QDate& date)
{
    m_file.writeString(section(key), name(key), DateFormats::shortDate(date));
}

void Settings::set(const TimeKey& key, const QTime& time)
{
    m_file.writeString(section(key), name(key), DateFormats::longTime(time));
}

void Settings::set(const MomentKey& key, const QDateTime& moment)
{
    m_file.writeString(section(key), name(key), DateFormats::moment(moment));
}

Settings::System Settings::system() const
{
    System values;
    values.autostart = get(Autostart);
    values.showPlan = get(ShowPlan);
    values.autoClosePlan = get(AutoClosePlan);
    values.chime = get(Chime);
    values.hideMain = get(HideMain);
    values.skin = get(Skin);
    return values;
}

void Settings::setSystem(const System& values)
{
    set(Autostart, values.autostart);
    set(ShowPlan, values.showPlan);
    set(AutoClosePlan, values.autoClosePlan);
    set(Chime, values.chime);
    set(HideMain, values.hideMain);
    set(Skin, values.skin);
}
