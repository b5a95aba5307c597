#include "TFrmCalendar.h"

TFrmCalendar::TFrmCalendar(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmCalendar"));
    setWindowTitle(QStringLiteral("名片查询"));
    setFixedSize(489, 441);
}
