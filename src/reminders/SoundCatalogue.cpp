#include "SoundCatalogue.h"

#include "platform/AppPaths.h"

namespace SoundCatalogue {

const QList<Entry>& entries()
{
    static const QList<Entry> list = [] {
        QList<Entry> result{ { QStringLiteral("小闹钟"), QStringLiteral("clocker.wav") },
                             { QStringLiteral("小汽车"), QStringLiteral("call.wav") } };
        for (const QString& tune :
             { QStringLiteral("致爱丽丝"), QStringLiteral("爱的罗曼斯"), QStringLiteral("爱我的人和我爱的人"),
               QStringLiteral("加州旅馆"), QStringLiteral("卡桑布兰卡"), QStringLiteral("天鹅湖"),
               QStringLiteral("月亮代表我的心") })
            result.append({ tune, tune + QStringLiteral(".mid") });
        return result;
    }();
    return list;
}

QStringList names()
{
    QStringList result;
    for (const Entry& entry : entries())
        result << entry.name;
    return result;
}

QString fileOf(const QString& name)
{
    for (const Entry& entry : entries()) {
        if (entry.name == name)
            return entry.file;
    }
    return {};
}

QString resolve(const QString& value)
{
    if (value.isEmpty())
        return {};
    const QString file = fileOf(value);
    return file.isEmpty() ? value : AppPaths::soundDir() + file;
}

QString previewFile(const QString& pickedText)
{
    if (pickedText == QStringLiteral("小闹钟"))
        return AppPaths::soundDir() + QStringLiteral("clocker.wav");
    if (pickedText == QStringLiteral("小汽车"))
        return AppPaths::soundDir() + QStringLiteral("call.wav");
    return AppPaths::soundDir() + pickedText + QStringLiteral(".mid");
}

} // namespace SoundCatalogue
