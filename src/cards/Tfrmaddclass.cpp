#include "Tfrmaddclass.h"

#include "CardTables.h"
#include "Tfrmsetclass.h"
#include "storage/TableQuery.h"

#include <QLineEdit>

Tfrmaddclass::Tfrmaddclass(Tfrmsetclass& list, QWidget* parent)
    : CategoryNameDialog(QStringLiteral("frmaddclass"), QStringLiteral("添加分类"), QSize(254, 122), parent)
    , m_list(list)
{ }

void Tfrmaddclass::FormShow()
{
    Edit1->clear();
    Edit1->setFocus();
}

void Tfrmaddclass::Button1Click()
{
    if (!requireName(true))
        return;
    CardTables::setStatement(*Query1, CardTables::insertCategory());
    Query1->param(0).setAsString(Edit1->text());
    Query1->execSql();
    close();
}

void Tfrmaddclass::FormClose()
{
    m_list.RefreshList();
}
