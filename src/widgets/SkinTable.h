#pragma once

#include <QString>
#include <QStringList>

/// The eight skins in the order of the skin list; the index is the setting "skin". Index and file number differ:
/// the default skin, index 0, is file 05.
namespace SkinTable {

inline QStringList names()
{
    return { QStringLiteral("蓝色幻想"), QStringLiteral("蓝蓝的天"), QStringLiteral("蓝蓝的海"),
             QStringLiteral("时尚天空"), QStringLiteral("银色天地"), QStringLiteral("黑白分明"),
             QStringLiteral("纯真年代"), QStringLiteral("蓝色的爱") };
}

/// The skin file of an index, relative to the program folder ("skin/05.skn"); empty outside 0 to 7.
inline QString fileForIndex(int index)
{
    static const int numbers[] = { 5, 1, 3, 4, 6, 7, 2, 8 };
    if (index < 0 || index > 7)
        return {};
    return QStringLiteral("skin/%1.skn").arg(numbers[index], 2, 10, QLatin1Char('0'));
}

/// The skin file of a name in the list; empty when the text is no skin name.
inline QString fileForName(const QString& name)
{
    return fileForIndex(int(names().indexOf(name)));
}

} // namespace SkinTable
