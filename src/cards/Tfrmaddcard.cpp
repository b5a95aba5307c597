#include "Tfrmaddcard.h"

#include "CardFieldPanel.h"
#include "Forms.h"
#include "TFrmCard.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "storage/TableQuery.h"
#include "widgets/GbkLineEdit.h"

#include <QComboBox>
#include <QPushButton>
#include <QShowEvent>

Tfrmaddcard::Tfrmaddcard(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmaddcard"));
    setWindowTitle(QStringLiteral("增加名片"));
    setAccessibleName(windowTitle());
    resize(338, 365);

    Panel1 = new CardFieldPanel(this);
    Panel1->move(4, 4);
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

    connect(Button1, &QPushButton::clicked, this, &Tfrmaddcard::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Tfrmaddcard::Button2Click);
}

void Tfrmaddcard::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Tfrmaddcard::FormShow()
{
    Panel1->clearCategories();
    Panel1->clearFields();
    Panel1->Edit1->setFocus();
    Panel1->appendCategories();
    if (Panel1->ComboBox1->count() > 0)
        Panel1->ComboBox1->setCurrentIndex(0);
}

void Tfrmaddcard::Button1Click()
{
    if (Panel1->Edit1->text().isEmpty()) {
        Services::dialogs().messageBox(this, QStringLiteral("请 输 入 姓 名!"), QStringLiteral("提示"),
                                       MsgIcon::Warning, MsgButtons::Ok);
        Panel1->Edit1->setFocus();
        return;
    }
    CardTables::setStatement(*Query1, CardTables::insertCard());
    CardTables::bindCard(*Query1, Panel1->card());
    Query1->execSql();
    Panel1->clearFields();
    Panel1->Edit1->setFocus();
    if (Forms::FrmCard)
        Forms::FrmCard->RefreshCardTree();
}

void Tfrmaddcard::Button2Click()
{
    close();
}
