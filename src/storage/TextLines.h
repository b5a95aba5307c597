#pragma once

#include <QString>

/// Texts of the program end their lines with a lone CR (today's plan, several messages), as the desktop it was
/// made for breaks them. Qt breaks lines only at LF: this turns CR LF and a lone CR into LF for display.
inline QString displayLineBreaks(const QString& text)
{
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}
