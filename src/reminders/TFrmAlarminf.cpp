#include "TFrmAlarminf.h"

TFrmAlarminf::TFrmAlarminf(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmAlarminf"));
    setWindowTitle(QStringLiteral("添加提醒信息"));
    setFixedSize(337, 324);
}
