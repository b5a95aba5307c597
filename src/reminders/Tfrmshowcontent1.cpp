#include "Tfrmshowcontent1.h"

Tfrmshowcontent1::Tfrmshowcontent1(GbkTextEdit& target, QWidget* parent)
    : PhraseChooser(target, QStringLiteral("listbox1"), parent)
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
    takePhrase();
}
