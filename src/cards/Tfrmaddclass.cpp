#include "Tfrmaddclass.h"

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

Tfrmaddclass::Tfrmaddclass(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmaddclass"));
    setWindowTitle(QStringLiteral("添加分类"));
    setAccessibleName(windowTitle());
    setFixedSize(254, 122);

    Label1 = new QLabel(QStringLiteral("分类名称："), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAccessibleName(Label1->text());
    Label1->move(40, 22);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAccessibleName(Label1->text());
    Edit1->setGeometry(40, 40, 185, 21);
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

    connect(Button1, &QPushButton::clicked, this, &Tfrmaddclass::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Tfrmaddclass::Button2Click);
}

void Tfrmaddclass::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Tfrmaddclass::FormShow()
{
    Edit1->clear();
    Edit1->setFocus();
}

void Tfrmaddclass::Button1Click()
{
    if (Edit1->text().isEmpty()) {
        Services::dialogs().messageBox(this, QStringLiteral("请 输 入 分 类 名 称!"), QStringLiteral("提示"),
                                       MsgIcon::Warning, MsgButtons::Ok);
        Edit1->setFocus();
        return;
    }
    CardTables::setStatement(*Query1, CardTables::insertCategory());
    Query1->param(0).setAsString(Edit1->text());
    Query1->execSql();
    close();
}

void Tfrmaddclass::Button2Click()
{
    close();
}

void Tfrmaddclass::done(int result)
{
    QDialog::done(result);
    FormClose();
}

void Tfrmaddclass::FormClose()
{
    if (Forms::frmsetclass)
        Forms::frmsetclass->RefreshList();
}
