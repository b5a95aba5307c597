#include "TableSchema.h"

namespace TableSchema {

QStringList columns(const QString& table)
{
    if (table == QLatin1String("time"))
        return { QStringLiteral("num"),       QStringLiteral("hint"),    QStringLiteral("hintdate"),
                 QStringLiteral("hinttime"),  QStringLiteral("content"), QStringLiteral("sound"),
                 QStringLiteral("frequency"), QStringLiteral("program"), QStringLiteral("dispear") };
    if (table == QLatin1String("card"))
        return { QStringLiteral("num"),     QStringLiteral("classify"), QStringLiteral("name"),
                 QStringLiteral("netname"), QStringLiteral("qq"),       QStringLiteral("msn"),
                 QStringLiteral("uc"),      QStringLiteral("email"),    QStringLiteral("mobile"),
                 QStringLiteral("tel"),     QStringLiteral("home"),     QStringLiteral("address"),
                 QStringLiteral("memo") };
    if (table == QLatin1String("classify"))
        return { QStringLiteral("num"), QStringLiteral("classify") };
    return {};
}

ColumnKind kind(const QString& table, const QString& column)
{
    if (column.compare(QLatin1String("num"), Qt::CaseInsensitive) == 0)
        return ColumnKind::Key;
    if (table == QLatin1String("time")) {
        if (column.compare(QLatin1String("hintdate"), Qt::CaseInsensitive) == 0)
            return ColumnKind::Date;
        if (column.compare(QLatin1String("hinttime"), Qt::CaseInsensitive) == 0)
            return ColumnKind::Time;
    }
    return ColumnKind::Text;
}

QString createStatement(const QString& table)
{
    const QStringList cols = columns(table);
    QStringList defs;
    for (const QString& c : cols)
        defs << (c == QLatin1String("num") ? QStringLiteral("num INTEGER PRIMARY KEY AUTOINCREMENT")
                                           : c + QStringLiteral(" TEXT"));
    return QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(table, defs.join(QStringLiteral(", ")));
}

} // namespace TableSchema
