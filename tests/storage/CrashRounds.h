#pragma once

#include "platform/AppPaths.h"

#include <QString>
#include <QStringList>

/// What the crash writer writes in each round, shared with the test that checks it.
namespace CrashRounds {

inline QString section()
{
    return QStringLiteral("system");
}
inline QString key()
{
    return QStringLiteral("round");
}
inline QString reminderText(int round)
{
    return QStringLiteral("提醒%1\U0001F600").arg(round);
}
/// Text outside GBK too, so the round trip through the phrase file is checked on every kill.
inline QStringList phrases(int round)
{
    return { QStringLiteral("短语%1").arg(round), QString(), QStringLiteral("한국어\U0001F600€%1").arg(round) };
}
inline QString cardName(int round)
{
    return QStringLiteral("名片%1").arg(round);
}
inline QString backupFile()
{
    return AppPaths::appDir() + QStringLiteral("bak/名片数据[20260101].Dat");
}

} // namespace CrashRounds
