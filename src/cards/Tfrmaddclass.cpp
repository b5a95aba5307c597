#include "Tfrmaddclass.h"

Tfrmaddclass::Tfrmaddclass(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmaddclass"));
    setWindowTitle(QStringLiteral("添加分类"));
    setFixedSize(254, 122);
}
