#include "Tfrmaddcard.h"

#include "CardFieldPanel.h"
#include "TFrmCard.h"
#include "platform/Guarded.h"
#include "storage/TableQuery.h"
#include "widgets/GbkLineEdit.h"

#include <QComboBox>
#include <QPushButton>

Tfrmaddcard::Tfrmaddcard(TFrmCard& cards, QWidget* parent)
    : CentredDialog(parent,
                    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                        | Qt::WindowCloseButtonHint)
    , m_cards(cards)
{
    setObjectName(QStringLiteral("frmaddcard"));
    setWindowTitle(QStringLiteral("增加名片"));
    setAccessibleName(windowTitle());
    resize(338, 365);

    Panel1 = new CardFieldPanel(this);
    Panel1->move(4, 4);
    const CardFieldPanel::Buttons buttons = Panel1->addButtons(this);
    Button1 = buttons.ok;
    Button2 = buttons.cancel;

    Query1 = new TableQuery(this);
    Query1->setObjectName(QStringLiteral("Query1"));

    connect(Button1, &QPushButton::clicked, this, guarded(this, &Tfrmaddcard::Button1Click));
    connect(Button2, &QPushButton::clicked, this, guarded(this, &Tfrmaddcard::Button2Click));
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
    if (!Panel1->requireName())
        return;
    CardTables::setStatement(*Query1, CardTables::insertCard());
    CardTables::bindCard(*Query1, Panel1->card());
    Query1->execSql();
    Panel1->clearFields();
    Panel1->Edit1->setFocus();
    m_cards.RefreshCardTree();
}

void Tfrmaddcard::Button2Click()
{
    close();
}
