#include "TFrmShutdown.h"

TFrmShutdown::TFrmShutdown(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmShutdown"));
    setWindowTitle(QStringLiteral("关机设置"));
    setFixedSize(300, 200);
}
