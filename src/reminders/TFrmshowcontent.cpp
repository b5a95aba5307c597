#include "TFrmshowcontent.h"

#include "Forms.h"
#include "reminders/TFrmAlarminf.h"

TFrmshowcontent::TFrmshowcontent(QWidget* parent)
    : PhraseChooser(parent, QStringLiteral("ListBox1"))
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
    takePhrase(Forms::FrmAlarminf->Memo1);
}
