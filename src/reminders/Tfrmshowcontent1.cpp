#include "Tfrmshowcontent1.h"

Tfrmshowcontent1::Tfrmshowcontent1(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmshowcontent1"));
    setWindowTitle(QStringLiteral("请选择提示内容"));
    setFixedSize(354, 206);
}
