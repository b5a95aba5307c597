#include "EditSplit.h"

#include <QStringView>

void splitEdit(const QString& before, const QString& after, qsizetype caret, qsizetype& head, qsizetype& tail)
{
    tail = after.size() - caret;
    const bool caretFits = caret >= 0 && tail >= 0 && tail <= before.size()
        && QStringView(after).right(tail) == QStringView(before).right(tail);
    if (!caretFits) {
        tail = 0;
        while (tail < before.size() && tail < after.size()
               && before.at(before.size() - 1 - tail) == after.at(after.size() - 1 - tail))
            ++tail;
    }
    const qsizetype headLimit = qMin(after.size(), before.size()) - tail;
    head = 0;
    while (head < headLimit && before.at(head) == after.at(head))
        ++head;
    if (head > 0 && after.at(head - 1).isHighSurrogate())
        --head;
    if (tail > 0 && after.at(after.size() - tail).isLowSurrogate())
        --tail;
}
