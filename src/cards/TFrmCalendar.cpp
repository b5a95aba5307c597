#include "TFrmCalendar.h"

#include "CardTables.h"
#include "platform/Dialogs.h"
#include "platform/Guarded.h"
#include "platform/Services.h"
#include "storage/TableQuery.h"
#include "storage/TableQueryModel.h"
#include "text/TextLines.h"
#include "widgets/DeferredPolish.h"

#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

TFrmCalendar::TFrmCalendar(QWidget* parent)
    : CentredDialog(parent,
                    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                        | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FrmCalendar"));
    setWindowTitle(QStringLiteral("名片查询"));
    setAccessibleName(windowTitle());
    setFixedSize(489, 441);

    Query1 = new TableQuery(this);
    Query1->setObjectName(QStringLiteral("Query1"));

    GroupBox1 = new QGroupBox(QStringLiteral("查询条件"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setAccessibleName(GroupBox1->title());
    GroupBox1->setGeometry(344, 8, 139, 201);
    const char* const choices[] = { "  姓名", "  网名", "  QQ", "  MSN", "  UC", "  手机", "  邮箱" };
    QRadioButton** radios[]
        = { &RadioButton1, &RadioButton2, &RadioButton3, &RadioButton4, &RadioButton5, &RadioButton6, &RadioButton7 };
    for (int i = 0; i < 7; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(choices[i]), GroupBox1);
        radio->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        radio->setAccessibleName(radio->text());
        radio->setGeometry(16, 27 + 22 * i, 113, 17);
        *radios[i] = radio;
    }

    GroupBox2 = new QGroupBox(QStringLiteral("查询"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setAccessibleName(GroupBox2->title());
    GroupBox2->setGeometry(343, 212, 141, 108);
    Edit1 = new QLineEdit(GroupBox2);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAccessibleName(GroupBox2->title());
    Edit1->setGeometry(14, 34, 115, 21);
    SpeedButton1 = new QPushButton(QStringLiteral("查    询"), GroupBox2);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(11, 67, 54, 22);
    SpeedButton2 = new QPushButton(QStringLiteral("关    闭"), GroupBox2);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setGeometry(75, 67, 54, 22);
    for (QPushButton* b : { SpeedButton1, SpeedButton2 }) {
        b->setFlat(true);
        b->setAutoDefault(false);
        b->setAccessibleName(b->text());
    }

    GroupBox3 = new QGroupBox(QStringLiteral("详细资料"), this);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    GroupBox3->setAccessibleName(GroupBox3->title());
    GroupBox3->setGeometry(8, 8, 332, 313);
    auto* panel = new QFrame(GroupBox3);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(2, 16, 328, 295);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, QColor(231, 231, 231));
    panel->setPalette(pal);
    const QStringList& captions = Card::captions();
    const int tops[] = { 8, 28, 49, 70, 91, 112, 132, 153, 174, 195, 216, 237 };
    for (int i = 0; i < captions.size(); ++i) {
        auto* label = new QLabel(captions.at(i), panel);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setAccessibleName(captions.at(i));
        label->move(16, tops[i] + 3);
    }
    for (int i = 0; i < 11; ++i) {
        auto* edit = new QLineEdit(panel);
        edit->setObjectName(QStringLiteral("DBEdit%1").arg(i + 1));
        edit->setAccessibleName(captions.at(i));
        edit->setReadOnly(true);
        edit->setGeometry(80, tops[i], i < 9 ? 121 : 231, 21);
        DBEdits << edit;
    }
    DBMemo1 = new QPlainTextEdit(panel);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->setAccessibleName(captions.at(11));
    DBMemo1->setReadOnly(true);
    DBMemo1->setGeometry(80, 237, 231, 51);

    DataSource1 = new TableQueryModel(
        Query1, Card::columns(),
        { QStringLiteral("类名"), QStringLiteral("姓名"), QStringLiteral("网名"), QStringLiteral("QQ号码"),
          QStringLiteral("MSN号码"), QStringLiteral("UC号码"), QStringLiteral("电子信箱"), QStringLiteral("手机号码"),
          QStringLiteral("办公电话"), QStringLiteral("个人主页"), QStringLiteral("联络地址"), QStringLiteral("备注") },
        this);
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setAccessibleName(QStringLiteral("查询结果"));
    deferHeaderSizing(DBGrid1);
    DBGrid1->setModel(DataSource1);
    DBGrid1->setGeometry(8, 322, 474, 117);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->verticalHeader()->setDefaultSectionSize(18);

    // The details follow the grid's current row.
    connect(Query1, &TableQuery::resultChanged, this, guarded([this] {
                if (Query1->recNo() >= 0)
                    DBGrid1->selectRow(Query1->recNo());
                followQuery();
            }));
    connect(Query1, &TableQuery::currentRowChanged, this, guarded(this, &TFrmCalendar::followQuery));
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    Query1->setRecNo(current.row());
            });

    connect(SpeedButton1, &QPushButton::clicked, this, guarded(this, &TFrmCalendar::SpeedButton1Click));
    connect(SpeedButton2, &QPushButton::clicked, this, guarded(this, &TFrmCalendar::SpeedButton2Click));
}

QList<QRadioButton*> TFrmCalendar::radioButtons() const
{
    return { RadioButton1, RadioButton2, RadioButton3, RadioButton4, RadioButton5, RadioButton6, RadioButton7 };
}

void TFrmCalendar::followQuery()
{
    const Card card = Card::fromQuery(*Query1);
    for (int i = 0; i < DBEdits.size(); ++i)
        DBEdits.at(i)->setText(card.value(Card::columns().at(i)));
    DBMemo1->setPlainText(withLineFeeds(card.memo));
}

void TFrmCalendar::FormShow()
{
    RadioButton1->setChecked(true);
    Edit1->clear();
    Edit1->setFocus();
}

void TFrmCalendar::SpeedButton1Click()
{
    const QString text = Edit1->text();
    if (text.isEmpty()) {
        Services::dialogs().messageBox(this, QStringLiteral("请输入要查找的内容!"), QStringLiteral("提示"),
                                       MsgIcon::Warning, MsgButtons::Ok);
        return;
    }
    const QList<QRadioButton*> radios = radioButtons();
    QString column = CardTables::searchColumns().constFirst();
    for (int i = 0; i < radios.size(); ++i) {
        if (radios.at(i)->isChecked())
            column = CardTables::searchColumns().at(i);
    }
    CardTables::setStatement(*Query1, CardTables::searchCards(column, text));
    Query1->open();
}

void TFrmCalendar::SpeedButton2Click()
{
    close();
}

void TFrmCalendar::FormClose()
{
    Query1->close();
}
