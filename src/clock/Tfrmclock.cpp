#include "Tfrmclock.h"

Tfrmclock::Tfrmclock(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmclock"));
    setWindowTitle(QStringLiteral("电子钟"));
    setFixedSize(115, 115);
}
