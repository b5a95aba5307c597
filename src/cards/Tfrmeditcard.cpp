#include "Tfrmeditcard.h"

#include "CardFieldPanel.h"
#include "TFrmCard.h"
#include "platform/Guarded.h"
#include "storage/TableQuery.h"
#include "widgets/GbkLineEdit.h"

#include <QPushButton>

Tfrmeditcard::Tfrmeditcard(TFrmCard& cards, QWidget* parent)
    : CentredDialog(parent,
                    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                        | Qt::WindowCloseButtonHint)
    , m_cards(cards)
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
    const CardFieldPanel::Buttons buttons = Panel1->addButtons(this);
    Button1 = buttons.ok;
    Button2 = buttons.cancel;

    Query1 = new TableQuery(this);
    Query1->setObjectName(QStringLiteral("Query1"));

    connect(Button1, &QPushButton::clicked, this, guarded(this, &Tfrmeditcard::Button1Click));
    connect(Button2, &QPushButton::clicked, this, guarded(this, &Tfrmeditcard::Button2Click));
}

void Tfrmeditcard::FormShow()
{
    Panel1->appendCategories();
    Panel1->Edit1->setFocus();
}

void Tfrmeditcard::Button1Click()
{
    if (!Panel1->requireName())
        return;
    CardTables::setStatement(*Query1, CardTables::updateCard(Edit11->text()));
    CardTables::bindCard(*Query1, Panel1->card());
    Query1->execSql();
    m_cards.RefreshCardTree();
}

void Tfrmeditcard::Button2Click()
{
    close();
}
