#include "Tfrmeditclass.h"

#include "CardTables.h"
#include "Tfrmsetclass.h"
#include "storage/TableQuery.h"

#include <QLineEdit>

Tfrmeditclass::Tfrmeditclass(Tfrmsetclass& list, QWidget* parent)
    : CategoryNameDialog(QStringLiteral("frmeditclass"), QStringLiteral("修改分类"), QSize(250, 119), parent)
    , m_list(list)
{
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->hide();
    Edit3 = new QLineEdit(this);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Edit3->hide();
}

void Tfrmeditclass::FormShow()
{
    const TableQuery* list = m_list.Query1;
    Edit1->setText(list->fieldAsString(QStringLiteral("classify")));
    Edit3->setText(Edit1->text());
    Edit2->setText(list->fieldAsString(QStringLiteral("num")));
    Edit1->setFocus();
}

void Tfrmeditclass::Button1Click()
{
    // The focus stays where it is, unlike in the add window.
    if (!requireName(false))
        return;
    CardTables::setStatement(*Query1, CardTables::renameCategory(Edit2->text()));
    Query1->param(0).setAsString(Edit1->text());
    Query1->execSql();
    CardTables::setStatement(*Query1, CardTables::renameCategoryOfCards(Edit3->text()));
    Query1->param(0).setAsString(Edit1->text());
    Query1->execSql();
    m_list.RefreshList();
    close();
}
