#include "TFrmshowcontent.h"

TFrmshowcontent::TFrmshowcontent(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Frmshowcontent"));
    setWindowTitle(QStringLiteral("请选择提示内容"));
    setFixedSize(347, 173);
}
