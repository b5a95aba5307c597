#include "Tfrmsetclass.h"

#include "CardTables.h"
#include "TFrmCard.h"
#include "platform/Dialogs.h"
#include "platform/Guarded.h"
#include "platform/Services.h"
#include "storage/TableQuery.h"
#include "storage/TableQueryModel.h"
#include "widgets/DeferredPolish.h"
#include "widgets/Images.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>

Tfrmsetclass::Tfrmsetclass(TFrmCard& cards, QWidget* parent)
    : CentredDialog(parent,
                    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                        | Qt::WindowCloseButtonHint)
    , m_cards(cards)
{
    setObjectName(QStringLiteral("frmsetclass"));
    setWindowTitle(QStringLiteral("分类信息设置"));
    setAccessibleName(windowTitle());
    setFixedSize(292, 199);

    Query1 = new TableQuery(this);
    Query1->setObjectName(QStringLiteral("Query1"));
    Query2 = new TableQuery(this);
    Query2->setObjectName(QStringLiteral("Query2"));

    DataSource1 = new TableQueryModel(Query1, { QStringLiteral("classify") }, { QStringLiteral("分类列表") }, this);
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setAccessibleName(QStringLiteral("分类列表"));
    deferHeaderSizing(DBGrid1);
    DBGrid1->setModel(DataSource1);
    DBGrid1->setGeometry(0, 0, 291, 163);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->verticalHeader()->setDefaultSectionSize(18);
    DBGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    DBGrid1->setColumnWidth(0, 280);

    DBEdit1 = new QLineEdit(this);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->hide();
    DBEdit2 = new QLineEdit(this);
    DBEdit2->setObjectName(QStringLiteral("DBEdit2"));
    DBEdit2->hide();

    const struct
    {
        QPushButton** button;
        const char* name;
        const char* text;
        int x;
    } buttons[] = { { &Button1, "Button1", "增加", 17 },
                    { &Button2, "Button2", "修改", 83 },
                    { &Button3, "Button3", "删除", 150 },
                    { &Button4, "Button4", "关闭", 217 } };
    for (const auto& b : buttons) {
        *b.button = new QPushButton(QString::fromUtf8(b.text), this);
        (*b.button)->setObjectName(QString::fromLatin1(b.name));
        (*b.button)->setAccessibleName((*b.button)->text());
        (*b.button)->setGeometry(b.x, 170, 57, 25);
        (*b.button)->setAutoDefault(false);
    }
    Button4->setIcon(Images::standardIcon(QStyle::SP_DialogCloseButton));

    // The grid's current row is the query's current row, and the hidden fields follow it.
    connect(Query1, &TableQuery::resultChanged, this, guarded([this] {
                DBGrid1->setColumnWidth(0, 280);
                if (Query1->recNo() >= 0)
                    DBGrid1->selectRow(Query1->recNo());
                followQuery();
            }));
    connect(Query1, &TableQuery::currentRowChanged, this, guarded(this, &Tfrmsetclass::followQuery));
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    Query1->setRecNo(current.row());
            });

    connect(Button1, &QPushButton::clicked, this, guarded(this, &Tfrmsetclass::Button1Click));
    connect(Button2, &QPushButton::clicked, this, guarded(this, &Tfrmsetclass::Button2Click));
    connect(Button3, &QPushButton::clicked, this, guarded(this, &Tfrmsetclass::Button3Click));
    connect(Button4, &QPushButton::clicked, this, guarded(this, &Tfrmsetclass::Button4Click));
}

void Tfrmsetclass::followQuery()
{
    DBEdit1->setText(Query1->fieldAsString(QStringLiteral("num")));
    DBEdit2->setText(Query1->fieldAsString(QStringLiteral("classify")));
}

bool Tfrmsetclass::hasCurrent() const
{
    return Query1->recNo() >= 0;
}

void Tfrmsetclass::FormShow()
{
    CardTables::setStatement(*Query1, CardTables::selectCategoryList());
    Query1->open();
}

void Tfrmsetclass::RefreshList()
{
    CardTables::setStatement(*Query1, CardTables::refreshCategoryList());
    Query1->open();
}

void Tfrmsetclass::Button1Click()
{
    if (m_opens.addCategory)
        m_opens.addCategory->exec();
}

void Tfrmsetclass::Button2Click()
{
    // With no category there is nothing to rename.
    if (!hasCurrent() || !m_opens.editCategory)
        return;
    m_opens.editCategory->exec();
}

void Tfrmsetclass::Button3Click()
{
    if (!hasCurrent())
        return;
    if (Services::dialogs().messageBox(this, QStringLiteral("你确定要删除此分类，此分类下的数据也将被删除？"),
                                       QStringLiteral("提示"), MsgIcon::Warning, MsgButtons::OkCancel)
        != MsgAnswer::Ok)
        return;
    // Both values are taken before the first statement, as the list shows them now.
    const QString num = Query1->fieldAsString(QStringLiteral("num"));
    const QString name = Query1->fieldAsString(QStringLiteral("classify"));
    CardTables::setStatement(*Query2, CardTables::deleteCategory(num));
    Query2->execSql();
    CardTables::setStatement(*Query2, CardTables::deleteCardsOfCategory(name));
    Query2->execSql();
    RefreshList();
}

void Tfrmsetclass::Button4Click()
{
    close();
}

void Tfrmsetclass::FormClose()
{
    m_cards.RefreshCardTree();
}
