#include "Tfrmaddcontent.h"

Tfrmaddcontent::Tfrmaddcontent(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmaddcontent"));
    setWindowTitle(QStringLiteral("添加提醒内容"));
    setFixedSize(330, 125);
}
