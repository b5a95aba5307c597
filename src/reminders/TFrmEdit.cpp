#include "TFrmEdit.h"

TFrmEdit::TFrmEdit(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmEdit"));
    setWindowTitle(QStringLiteral("修改提醒信息"));
    setFixedSize(338, 322);
}
