#include "CardFieldPanel.h"

#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "storage/TableQuery.h"
#include "text/TextLines.h"
#include "widgets/GbkLineEdit.h"
#include "widgets/GbkTextEdit.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace {

struct Row
{
    int top;
    int width;
};

// name … address; the category box sits at 7, the note at 237.
const Row kEditRows[] = { { 28, 121 },  { 49, 121 },  { 70, 121 },  { 91, 121 },  { 112, 121 },
                          { 132, 121 }, { 153, 121 }, { 174, 121 }, { 195, 233 }, { 216, 233 } };

} // namespace

CardFieldPanel::CardFieldPanel(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("Panel1"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(231, 231, 231));
    setPalette(pal);
    setFixedSize(329, 297);

    const QStringList& captions = Card::captions();
    const int tops[] = { 7, 28, 49, 70, 91, 112, 132, 153, 174, 195, 216, 237 };
    for (int i = 0; i < captions.size(); ++i) {
        auto* label = new QLabel(captions.at(i), this);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setAccessibleName(captions.at(i));
        label->move(16, tops[i] + 3);
    }

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setAccessibleName(captions.at(0));
    ComboBox1->setEditable(true);
    // Enter in the box neither adds the typed text to the list nor goes anywhere.
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setGeometry(80, 7, 121, 21);

    GbkLineEdit** edits[] = { &Edit1, &Edit2, &Edit3, &Edit4, &Edit5, &Edit6, &Edit7, &Edit8, &Edit9, &Edit10 };
    for (int i = 0; i < 10; ++i) {
        auto* edit = new GbkLineEdit(this);
        edit->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        edit->setAccessibleName(captions.at(i + 1));
        edit->setMaxBytes(Card::byteLimit(Card::columns().at(i + 1)));
        edit->setGeometry(80, kEditRows[i].top, kEditRows[i].width, 21);
        *edits[i] = edit;
    }
    Memo1 = new GbkTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(captions.at(11));
    Memo1->setMaxBytes(Card::byteLimit(QStringLiteral("memo")));
    Memo1->setTabChangesFocus(true);
    Memo1->setGeometry(80, 237, 234, 55);

    QWidget* chain[] = { ComboBox1, Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9, Edit10, Memo1 };
    for (int i = 0; i + 1 < int(std::size(chain)); ++i)
        QWidget::setTabOrder(chain[i], chain[i + 1]);
    for (int i = 0; i < 10; ++i) {
        QWidget* next = chain[i + 2];
        connect(*edits[i], &QLineEdit::returnPressed, next, [next] { next->setFocus(Qt::TabFocusReason); });
    }
}

Card CardFieldPanel::card() const
{
    Card card;
    card.classify = ComboBox1->currentText();
    card.name = Edit1->text();
    card.netname = Edit2->text();
    card.qq = Edit3->text();
    card.msn = Edit4->text();
    card.uc = Edit5->text();
    card.email = Edit6->text();
    card.mobile = Edit7->text();
    card.tel = Edit8->text();
    card.home = Edit9->text();
    card.address = Edit10->text();
    card.memo = CardTables::noteForTable(Memo1->toPlainText());
    return card;
}

void CardFieldPanel::setCard(const Card& card)
{
    Edit1->setText(card.name);
    Edit2->setText(card.netname);
    Edit3->setText(card.qq);
    Edit4->setText(card.msn);
    Edit5->setText(card.uc);
    Edit6->setText(card.email);
    Edit7->setText(card.mobile);
    Edit8->setText(card.tel);
    Edit9->setText(card.home);
    Edit10->setText(card.address);
    Memo1->setPlainText(withLineFeeds(card.memo));
}

void CardFieldPanel::clearFields()
{
    setCard(Card());
}

void CardFieldPanel::clearCategories()
{
    ComboBox1->clear();
    ComboBox1->clearEditText();
}

void CardFieldPanel::appendCategories()
{
    // Filling an empty list would make its first entry current; the box keeps the text it had.
    const QString text = ComboBox1->currentText();
    TableQuery query;
    CardTables::setStatement(query, CardTables::selectCategories());
    query.open();
    QStringList names;
    for (query.first(); !query.eof(); query.next())
        names << query.fieldAsString(QStringLiteral("classify"));
    const QSignalBlocker blocker(ComboBox1);
    ComboBox1->addItems(names);
    ComboBox1->setCurrentIndex(ComboBox1->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive));
    ComboBox1->setEditText(text);
}

QWidget* CardFieldPanel::lastField() const
{
    return Memo1;
}

bool CardFieldPanel::requireName()
{
    if (!Edit1->text().isEmpty())
        return true;
    Services::dialogs().messageBox(window(), QStringLiteral("请 输 入 姓 名!"), QStringLiteral("提示"),
                                   MsgIcon::Warning, MsgButtons::Ok);
    Edit1->setFocus();
    return false;
}

CardFieldPanel::Buttons CardFieldPanel::addButtons(QWidget* owner)
{
    Buttons buttons{ new QPushButton(QStringLiteral("确定"), owner), new QPushButton(QStringLiteral("取消"), owner) };
    buttons.ok->setObjectName(QStringLiteral("Button1"));
    buttons.ok->setGeometry(64, 304, 75, 25);
    buttons.cancel->setObjectName(QStringLiteral("Button2"));
    buttons.cancel->setGeometry(200, 304, 75, 25);
    for (QPushButton* b : { buttons.ok, buttons.cancel }) {
        b->setAccessibleName(b->text());
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    QWidget::setTabOrder(lastField(), buttons.ok);
    QWidget::setTabOrder(buttons.ok, buttons.cancel);
    return buttons;
}
