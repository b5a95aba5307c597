#include "TFrmUpdate.h"

TFrmUpdate::TFrmUpdate(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmUpdate"));
    setWindowTitle(QStringLiteral("软件升级"));
    setFixedSize(400, 300);
}
