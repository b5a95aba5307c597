#include "Tfrmaddcard.h"

Tfrmaddcard::Tfrmaddcard(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmaddcard"));
    setWindowTitle(QStringLiteral("添加名片"));
    setFixedSize(400, 400);
}
