#include "TFrmAlarm.h"

TFrmAlarm::TFrmAlarm(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmAlarm"));
    setWindowTitle(QStringLiteral("提醒列表"));
    setFixedSize(474, 286);
}
