#include "Tfrmshowcontent1.h"

#include "Forms.h"
#include "reminders/TFrmEdit.h"

Tfrmshowcontent1::Tfrmshowcontent1(QWidget* parent)
    : PhraseChooser(parent, QStringLiteral("listbox1"))
{
    setObjectName(QStringLiteral("frmshowcontent1"));
    resize(354, 206); // this one can be resized
    listbox1 = m_list;
}

void Tfrmshowcontent1::FormShow()
{
    loadPhrases();
}

void Tfrmshowcontent1::listbox1DblClick()
{
    takePhrase(Forms::FrmEdit->Memo1);
}
