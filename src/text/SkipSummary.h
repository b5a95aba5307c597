#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstddef>

/// The closing part of an import's message about the entries it skipped ("\r\r跳过 3 条：1 条没有姓名，2 条…。"),
/// from the count of each kind (reason(i) names kind i); empty when nothing was skipped.
template <std::size_t Kinds, typename Reason> QString skipSummary(const std::array<int, Kinds>& skipped, Reason reason)
{
    int total = 0;
    QStringList parts;
    for (std::size_t i = 0; i < Kinds; ++i) {
        if (skipped[i] == 0)
            continue;
        total += skipped[i];
        parts << QStringLiteral("%1 条").arg(skipped[i]) + reason(i);
    }
    if (total == 0)
        return {};
    return QStringLiteral("\r\r跳过 %1 条：%2。").arg(total).arg(parts.join(QStringLiteral("，")));
}
