#pragma once

#include <QString>

/// Makes a value safe to stand between the single quotes of a statement: every quote in it is doubled, so the value
/// stays one literal and can never change which rows a statement touches. The LIKE wildcards "%" and "_" keep their
/// meaning.
inline QString safeLiteral(const QString& value)
{
    QString out = value;
    out.replace(QLatin1Char('\''), QLatin1String("''"));
    return out;
}
