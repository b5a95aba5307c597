#include "Tfrmeditcard.h"

#include "CardFieldPanel.h"
#include "Forms.h"
#include "TFrmCard.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "storage/TableQuery.h"
#include "widgets/GbkLineEdit.h"

#include <QPushButton>
#include <QShowEvent>

Tfrmeditcard::Tfrmeditcard(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmeditcard"));
    setWindowTitle(QStringLiteral("修改名片"));
    setAccessibleName(windowTitle());
    setFixedSize(325, 336);

    Panel1 = new CardFieldPanel(this);
    Panel1->move(-4, 4);
    Edit11 = new QLineEdit(this);
    Edit11->setObjectName(QStringLiteral("Edit11"));
    Edit11->hide();
    Button1 = new QPushButton(QStringLiteral("确定"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAccessibleName(Button1->text());
    Button1->setGeometry(64, 304, 75, 25);
    Button2 = new QPushButton(QStringLiteral("取消"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAccessibleName(Button2->text());
    Button2->setGeometry(200, 304, 75, 25);
    // Enter belongs to the field chain, never to a button.
    for (QPushButton* b : { Button1, Button2 }) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    QWidget::setTabOrder(Panel1->lastField(), Button1);
    QWidget::setTabOrder(Button1, Button2);

    Query1 = new TableQuery(this);
    Query1->setObjectName(QStringLiteral("Query1"));

    connect(Button1, &QPushButton::clicked, this, &Tfrmeditcard::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Tfrmeditcard::Button2Click);
}

void Tfrmeditcard::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Tfrmeditcard::FormShow()
{
    Panel1->appendCategories();
    Panel1->Edit1->setFocus();
}

void Tfrmeditcard::Button1Click()
{
    if (Panel1->Edit1->text().isEmpty()) {
        Services::dialogs().messageBox(this, QStringLiteral("请 输 入 姓 名!"), QStringLiteral("提示"),
                                       MsgIcon::Warning, MsgButtons::Ok);
        Panel1->Edit1->setFocus();
        return;
    }
    CardTables::setStatement(*Query1, CardTables::updateCard(Edit11->text()));
    CardTables::bindCard(*Query1, Panel1->card());
    Query1->execSql();
    if (Forms::FrmCard)
        Forms::FrmCard->RefreshCardTree();
}

void Tfrmeditcard::Button2Click()
{
    close();
}
