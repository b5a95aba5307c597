#include "TFrmSystemset.h"

TFrmSystemset::TFrmSystemset(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmSystemset"));
    setWindowTitle(QStringLiteral("系统设置"));
    setFixedSize(334, 337);
}
