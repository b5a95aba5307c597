#include "TFrmshowcontent.h"

TFrmshowcontent::TFrmshowcontent(GbkTextEdit& target, QWidget* parent)
    : PhraseChooser(target, QStringLiteral("ListBox1"), parent)
{
    setObjectName(QStringLiteral("Frmshowcontent"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(347, 173);
    ListBox1 = m_list;
}

void TFrmshowcontent::FormShow()
{
    loadPhrases();
}

void TFrmshowcontent::ListBox1DblClick()
{
    takePhrase();
}
