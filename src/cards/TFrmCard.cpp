#include "TFrmCard.h"

TFrmCard::TFrmCard(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmCard"));
    setWindowTitle(QStringLiteral("名片管理"));
    setFixedSize(515, 373);
}
