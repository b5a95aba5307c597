#include "Tfrmeditclass.h"

#include "CardTables.h"
#include "Forms.h"
#include "Tfrmsetclass.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "storage/TableQuery.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

Tfrmeditclass::Tfrmeditclass(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmeditclass"));
    setWindowTitle(QStringLiteral("修改分类"));
    setAccessibleName(windowTitle());
    setFixedSize(250, 119);

    Label1 = new QLabel(QStringLiteral("分类名称："), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAccessibleName(Label1->text());
    Label1->move(40, 22);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAccessibleName(Label1->text());
    Edit1->setGeometry(40, 40, 185, 21);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->hide();
    Edit3 = new QLineEdit(this);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Edit3->hide();
    Button1 = new QPushButton(QStringLiteral("确定"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAccessibleName(Button1->text());
    Button1->setGeometry(40, 80, 75, 25);
    Button2 = new QPushButton(QStringLiteral("取消"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAccessibleName(Button2->text());
    Button2->setGeometry(149, 80, 75, 25);

    Query1 = new TableQuery(this);
    Query1->setObjectName(QStringLiteral("Query1"));

    connect(Button1, &QPushButton::clicked, this, &Tfrmeditclass::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Tfrmeditclass::Button2Click);
}

void Tfrmeditclass::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Tfrmeditclass::FormShow()
{
    if (!Forms::frmsetclass)
        return;
    const TableQuery* list = Forms::frmsetclass->Query1;
    Edit1->setText(list->fieldAsString(QStringLiteral("classify")));
    Edit3->setText(Edit1->text());
    Edit2->setText(list->fieldAsString(QStringLiteral("num")));
    Edit1->setFocus();
}

void Tfrmeditclass::Button1Click()
{
    if (Edit1->text().isEmpty()) {
        Services::dialogs().messageBox(this, QStringLiteral("请 输 入 分 类 名 称!"), QStringLiteral("提示"),
                                       MsgIcon::Warning, MsgButtons::Ok);
        return;
    }
    CardTables::setStatement(*Query1, CardTables::renameCategory(Edit2->text()));
    Query1->param(0).setAsString(Edit1->text());
    Query1->execSql();
    CardTables::setStatement(*Query1, CardTables::renameCategoryOfCards(Edit3->text()));
    Query1->param(0).setAsString(Edit1->text());
    Query1->execSql();
    if (Forms::frmsetclass)
        Forms::frmsetclass->RefreshList();
    close();
}

void Tfrmeditclass::Button2Click()
{
    close();
}
