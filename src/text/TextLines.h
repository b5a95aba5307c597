#pragma once

#include <QString>

/// Texts of the program end their lines with a lone CR (today's plan, several messages) or CR LF (notes, pasted
/// text), as the desktop it was made for breaks them. Qt breaks lines only at LF: this turns CR LF and a lone CR
/// into LF, for display and for edits that count a line break once.
inline QString withLineFeeds(const QString& text)
{
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}
