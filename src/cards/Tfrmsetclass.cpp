#include "Tfrmsetclass.h"

Tfrmsetclass::Tfrmsetclass(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmsetclass"));
    setWindowTitle(QStringLiteral("分类信息设置"));
    setFixedSize(292, 199);
}
