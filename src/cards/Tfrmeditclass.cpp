#include "Tfrmeditclass.h"

Tfrmeditclass::Tfrmeditclass(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmeditclass"));
    setWindowTitle(QStringLiteral("修改分类"));
    setFixedSize(250, 119);
}
