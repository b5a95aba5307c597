#include "Tfrmeditcard.h"

Tfrmeditcard::Tfrmeditcard(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmeditcard"));
    setWindowTitle(QStringLiteral("修改名片"));
    setFixedSize(400, 400);
}
