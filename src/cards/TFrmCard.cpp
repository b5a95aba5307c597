#include "TFrmCard.h"

#include "CardFieldPanel.h"
#include "CardFiles.h"
#include "CardTables.h"
#include "CardTree.h"
#include "Tfrmaddcard.h"
#include "Tfrmeditcard.h"
#include "Tfrmsetclass.h"
#include "VCard.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Guarded.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "storage/TableQuery.h"
#include "text/TextLines.h"
#include "widgets/Images.h"

#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QColor kPanelGrey(231, 231, 231);
const QString kBackupFilter = QStringLiteral("名片通信录数据库 (*.Dat)");
const QString kVCardFilter = QStringLiteral("vCard 名片文件 (*.vcf *.vcard);;所有文件 (*)");

/// A node of the tree: its text and its icon, nothing more. A large card book has a hundred thousand of them, so
/// the node keeps its text itself instead of in the general per-role store, and shares its window's icon. The
/// nodes are read-only and come in their order (CardTree), so the tree never sorts them.
class CardTreeItem : public QTreeWidgetItem
{
public:
    CardTreeItem(QString text, QIcon icon)
        : QTreeWidgetItem(UserType)
        , m_text(std::move(text))
        , m_icon(std::move(icon))
    { }
    /// Gives a node taken out of the tree its new text and icon.
    void reset(QString text, QIcon icon)
    {
        m_text = std::move(text);
        m_icon = std::move(icon);
    }
    QVariant data(int column, int role) const override
    {
        if (column == 0 && (role == Qt::DisplayRole || role == Qt::EditRole))
            return m_text;
        if (column == 0 && role == Qt::DecorationRole)
            return m_icon;
        return QTreeWidgetItem::data(column, role);
    }

private:
    QString m_text;
    QIcon m_icon;
};

void setGrey(QWidget* widget)
{
    widget->setAutoFillBackground(true);
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, kPanelGrey);
    pal.setColor(QPalette::Base, kPanelGrey);
    widget->setPalette(pal);
}

} // namespace

TFrmCard::TFrmCard(QWidget* parent)
    : CentredDialog(parent,
                    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                        | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FrmCard"));
    setWindowTitle(QStringLiteral("名片管理"));
    setAccessibleName(windowTitle());

    // Menu bar.
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    auto menu = [this](const char* name, const QString& caption) {
        QMenu* m = MainMenu1->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        m->setAccessibleName(caption);
        return m;
    };
    auto item = [](QMenu* m, const char* name, const QString& caption, const char* image) {
        QAction* a = m->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        if (image)
            a->setIcon(Images::icon(QString::fromLatin1(image)));
        return a;
    };
    QMenu* cards = menu("N1", QStringLiteral("  名片管理  "));
    N2 = item(cards, "N2", QStringLiteral("添加名片"), "card-add");
    N3 = item(cards, "N3", QStringLiteral("修改名片"), "card-modify");
    N4 = item(cards, "N4", QStringLiteral("删除名片"), "card-delete");
    cards->addSeparator();
    N6 = item(cards, "N6", QStringLiteral("关    闭"), "card-close");
    QMenu* data = menu("N7", QStringLiteral("数据管理"));
    N8 = item(data, "N8", QStringLiteral("数据库导出"), "card-backup");
    N9 = item(data, "N9", QStringLiteral("数据库导入"), "card-restore");
    data->addSeparator();
    N11 = item(data, "N11", QStringLiteral("另存为文本"), "card-text");
    data->addSeparator();
    N19 = item(data, "N19", QStringLiteral("导出vCard…"), nullptr);
    N20 = item(data, "N20", QStringLiteral("导入vCard…"), nullptr);
    QMenu* classes = menu("N12", QStringLiteral("  分类设置  "));
    N13 = item(classes, "N13", QStringLiteral("名片分类"), "card-classes");

    // Tool bar: flat buttons with a hint each.
    ToolBar1 = new QWidget(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setFixedHeight(51);
    auto* bar = new QHBoxLayout(ToolBar1);
    bar->setContentsMargins(2, 2, 2, 2);
    bar->setSpacing(0);
    auto button = [this, bar](const char* name, const QString& hint, const char* image) {
        auto* b = new QToolButton(ToolBar1);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoRaise(true);
        b->setFixedSize(51, 44);
        b->setIconSize(QSize(32, 32));
        b->setIcon(Images::icon(QString::fromLatin1(image)));
        b->setToolTip(hint);
        b->setAccessibleName(hint);
        bar->addWidget(b);
        return b;
    };
    auto separator = [this, bar] {
        auto* line = new QFrame(ToolBar1);
        line->setFrameStyle(QFrame::VLine | QFrame::Sunken);
        line->setFixedWidth(8);
        bar->addWidget(line);
    };
    ToolButton1 = button("ToolButton1", QStringLiteral("名片增加"), "card-add");
    ToolButton2 = button("ToolButton2", QStringLiteral("名片修改"), "card-modify");
    ToolButton3 = button("ToolButton3", QStringLiteral("名片删除"), "card-delete");
    separator();
    ToolButton5 = button("ToolButton5", QStringLiteral("数据导出"), "card-backup");
    ToolButton6 = button("ToolButton6", QStringLiteral("数据导入"), "card-restore");
    ToolButton7 = button("ToolButton7", QStringLiteral("存为文本"), "card-text");
    separator();
    ToolButton9 = button("ToolButton9", QStringLiteral("分类设置"), "card-classes");
    separator();
    ToolButton11 = button("ToolButton11", QStringLiteral("关闭"), "card-close");
    bar->addStretch();

    // Tree.
    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setFixedWidth(185);
    TreeView1->setHeaderHidden(true);
    TreeView1->setColumnCount(1);
    TreeView1->setIndentation(35);
    TreeView1->setIconSize(QSize(32, 32));
    TreeView1->setMouseTracking(true); // hot tracking
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    QFont treeFont(QStringLiteral("宋体"));
    treeFont.setPixelSize(12);
    TreeView1->setFont(treeFont);
    setGrey(TreeView1);
    TreeView1->setContextMenuPolicy(Qt::CustomContextMenu);
    PopupMenu1 = new QMenu(TreeView1);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto popup = [this](const char* name, const QString& caption) {
        QAction* a = PopupMenu1->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    N14 = popup("N14", QStringLiteral("增  加"));
    PopupMenu1->addSeparator();
    N16 = popup("N16", QStringLiteral("修  改"));
    PopupMenu1->addSeparator();
    N18 = popup("N18", QStringLiteral("删  除"));

    // Detail panel: captions at 16, read-only fields at 80.
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setGrey(Panel1);
    const QStringList& captions = Card::captions();
    const int tops[] = { 8, 28, 49, 70, 91, 112, 132, 153, 174, 195, 216, 237 };
    QLineEdit** edits[] = { &Edit1, &Edit2, &Edit3, &Edit4, &Edit5, &Edit6, &Edit7, &Edit8, &Edit9, &Edit10, &Edit11 };
    for (int i = 0; i < captions.size(); ++i) {
        auto* label = new QLabel(captions.at(i), Panel1);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setAccessibleName(captions.at(i));
        label->move(16, tops[i] + 3);
    }
    for (int i = 0; i < 11; ++i) {
        auto* edit = new QLineEdit(Panel1);
        edit->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        edit->setAccessibleName(captions.at(i));
        edit->setReadOnly(true);
        edit->setGeometry(80, tops[i], i < 9 ? 121 : 233, 21);
        *edits[i] = edit;
    }
    Memo1 = new QPlainTextEdit(Panel1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(captions.at(11));
    Memo1->setReadOnly(true);
    Memo1->setGeometry(80, 237, 234, 60);
    Edit12 = new QLineEdit(Panel1);
    Edit12->setObjectName(QStringLiteral("Edit12"));
    Edit12->hide();

    // Status bar.
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFixedHeight(21);
    StatusBar1->setSizeGripEnabled(false);
    StatusPanel1 = new QLabel(QStringLiteral("我的名片Vantrel  "), StatusBar1);
    StatusPanel1->setObjectName(QStringLiteral("StatusPanel1"));
    StatusPanel1->setAccessibleName(StatusPanel1->text());
    StatusPanel1->setAlignment(Qt::AlignCenter);
    StatusPanel1->setFixedWidth(150);
    StatusBar1->addWidget(StatusPanel1);

    auto* middle = new QHBoxLayout;
    middle->setContentsMargins(0, 0, 0, 0);
    middle->setSpacing(0);
    middle->addWidget(TreeView1);
    middle->addWidget(Panel1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MainMenu1);
    layout->addWidget(ToolBar1);
    layout->addLayout(middle, 1);
    layout->addWidget(StatusBar1);
    setFixedSize(515, 373 + MainMenu1->sizeHint().height());

    Query1 = new TableQuery(this);
    Query1->setObjectName(QStringLiteral("Query1"));
    Query2 = new TableQuery(this);
    Query2->setObjectName(QStringLiteral("Query2"));
    Query3 = new TableQuery(this);
    Query3->setObjectName(QStringLiteral("Query3"));

    connect(TreeView1, &QTreeWidget::currentItemChanged, this, guarded(this, &TFrmCard::TreeView1Change));
    connect(TreeView1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(TreeView1->viewport()->mapToGlobal(pos)); });
    for (QAction* a : { N2, N14 })
        connect(a, &QAction::triggered, this, guarded(this, &TFrmCard::AddCardClick));
    for (QAction* a : { N3, N16 })
        connect(a, &QAction::triggered, this, guarded(this, &TFrmCard::ModifyCardClick));
    for (QAction* a : { N4, N18 })
        connect(a, &QAction::triggered, this, guarded(this, &TFrmCard::DeleteCardClick));
    connect(N6, &QAction::triggered, this, guarded(this, &TFrmCard::CloseClick));
    connect(N8, &QAction::triggered, this, guarded(this, &TFrmCard::BackupClick));
    connect(N9, &QAction::triggered, this, guarded(this, &TFrmCard::RestoreClick));
    connect(N11, &QAction::triggered, this, guarded(this, &TFrmCard::ExportTextClick));
    connect(N19, &QAction::triggered, this, guarded(this, &TFrmCard::ExportVCardClick));
    connect(N20, &QAction::triggered, this, guarded(this, &TFrmCard::ImportVCardClick));
    connect(N13, &QAction::triggered, this, guarded(this, &TFrmCard::CategoriesClick));
    connect(ToolButton1, &QToolButton::clicked, this, guarded(this, &TFrmCard::AddCardClick));
    connect(ToolButton2, &QToolButton::clicked, this, guarded(this, &TFrmCard::ModifyCardClick));
    connect(ToolButton3, &QToolButton::clicked, this, guarded(this, &TFrmCard::DeleteCardClick));
    connect(ToolButton5, &QToolButton::clicked, this, guarded(this, &TFrmCard::BackupClick));
    connect(ToolButton6, &QToolButton::clicked, this, guarded(this, &TFrmCard::RestoreClick));
    connect(ToolButton7, &QToolButton::clicked, this, guarded(this, &TFrmCard::ExportTextClick));
    connect(ToolButton9, &QToolButton::clicked, this, guarded(this, &TFrmCard::CategoriesClick));
    connect(ToolButton11, &QToolButton::clicked, this, guarded(this, &TFrmCard::CloseClick));
}

void TFrmCard::FormShow()
{
    RefreshCardTree();
}

void TFrmCard::RefreshCardTree()
{
    // Both tables are read, and the tree arranged, before the old tree goes: a statement that fails leaves the tree
    // as it was.
    const QList<CardTreeCategory> tree = CardTree::read(*Query1, *Query2);

    TreeView1->setUpdatesEnabled(false);
    const auto resume = qScopeGuard([this] { TreeView1->setUpdatesEnabled(true); });
    // No node stays current, so the details empty, as when a tree is cleared.
    TreeView1->selectionModel()->clear();
    // The card nodes of the old tree are reused for the new one: in a large book making and freeing a hundred
    // thousand nodes would be most of a rebuild.
    std::vector<CardTreeItem*> spare;
    for (QTreeWidgetItem* node : TreeView1->invisibleRootItem()->takeChildren()) {
        for (QTreeWidgetItem* card : node->takeChildren())
            spare.push_back(static_cast<CardTreeItem*>(card));
        delete node;
    }
    const auto freeSpare = qScopeGuard([&spare] { qDeleteAll(spare); });

    const QIcon categoryIcon = Images::icon(QStringLiteral("card-category"));
    const QIcon cardIcon = Images::icon(QStringLiteral("card-card"));
    // The nodes are made in their final order and handed to the tree at once: added one by one, every node would
    // be announced to the view, and sorting them there would run the collation for every comparison.
    QList<QTreeWidgetItem*> nodes;
    nodes.reserve(tree.size());
    for (const CardTreeCategory& category : tree) {
        auto* node = new CardTreeItem(category.name, categoryIcon);
        QList<QTreeWidgetItem*> children;
        children.reserve(category.cards.size());
        for (const QString& name : category.cards) {
            if (spare.empty()) {
                children.append(new CardTreeItem(name, cardIcon));
            } else {
                spare.back()->reset(name, cardIcon);
                children.append(spare.back());
                spare.pop_back();
            }
        }
        node->addChildren(children);
        nodes.append(node);
    }
    TreeView1->addTopLevelItems(nodes);
    TreeView1->collapseAll();
}

QTreeWidgetItem* TFrmCard::selectedCard() const
{
    QTreeWidgetItem* node = TreeView1->currentItem();
    if (!node || !node->parent() || node->text(0).trimmed().isEmpty())
        return nullptr;
    return node;
}

QList<QLineEdit*> TFrmCard::detailEdits() const
{
    return { Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9, Edit10, Edit11 };
}

void TFrmCard::TreeView1Change()
{
    QTreeWidgetItem* node = selectedCard();
    if (!node) {
        ClearCardDetails();
        return;
    }
    ShowCardDetails(node->text(0));
}

void TFrmCard::ShowCardDetails(const QString& name)
{
    QTreeWidgetItem* node = TreeView1->currentItem();
    const QString category = (node && node->parent()) ? node->parent()->text(0) : QString();
    CardTables::setStatement(*Query3, CardTables::selectCard(name, category));
    Query3->open();
    const Card card = Card::fromQuery(*Query3);
    const QList<QLineEdit*> edits = detailEdits();
    for (int i = 0; i < edits.size(); ++i)
        edits.at(i)->setText(card.value(Card::columns().at(i)));
    Edit12->setText(card.num);
    Memo1->setPlainText(withLineFeeds(card.memo));
}

void TFrmCard::ClearCardDetails()
{
    for (QLineEdit* edit : detailEdits())
        edit->clear();
    Edit12->clear();
    Memo1->clear();
}

void TFrmCard::AddCardClick()
{
    if (m_opens.addCard)
        m_opens.addCard->exec();
}

void TFrmCard::ModifyCardClick()
{
    Tfrmeditcard* editor = m_opens.editCard;
    if (!editor)
        return;
    editor->Panel1->clearCategories();
    QTreeWidgetItem* node = selectedCard();
    if (!node)
        return;
    CardTables::setStatement(*Query3, CardTables::selectCardToModify(node->text(0), node->parent()->text(0)));
    Query3->open();
    const Card card = Card::fromQuery(*Query3);
    editor->Panel1->ComboBox1->setEditText(card.classify);
    editor->Edit11->setText(card.num);
    editor->Panel1->setCard(card);
    editor->exec();
}

void TFrmCard::DeleteCardClick()
{
    if (!selectedCard())
        return;
    if (Services::dialogs().messageBox(this, QStringLiteral("你确定要删除此条记录？"), QStringLiteral("提示"),
                                       MsgIcon::Warning, MsgButtons::OkCancel)
        != MsgAnswer::Ok)
        return;
    CardTables::setStatement(*Query3, CardTables::deleteCard(Edit12->text()));
    Query3->execSql();
    RefreshCardTree();
}

void TFrmCard::CategoriesClick()
{
    if (m_opens.categories)
        m_opens.categories->exec();
}

void TFrmCard::CloseClick()
{
    close();
}

bool TFrmCard::refuseEmptyBook()
{
    CardTables::setStatement(*Query3, CardTables::selectAllCards());
    Query3->open();
    if (Query3->recordCount() > 0)
        return false;
    Services::dialogs().messageBox(this, QStringLiteral("当前状态没有任何记录，无需保存!"), QStringLiteral("信息提示"),
                                   MsgIcon::Question, MsgButtons::Ok);
    return true;
}

FileDialogOptions TFrmCard::fileDialog(const QString& title, const QString& filter, const QString& suffix)
{
    QDir().mkpath(CardFiles::backupFolder());
    FileDialogOptions options;
    options.parent = this;
    options.title = title;
    options.initialDir = CardFiles::backupFolder();
    options.filter = filter;
    options.defaultSuffix = suffix;
    return options;
}

void TFrmCard::BackupClick()
{
    if (refuseEmptyBook())
        return;
    FileDialogOptions options = fileDialog(QStringLiteral("保存数据"), kBackupFilter, QStringLiteral("Dat"));
    options.fileName = CardFiles::backupFileName(Services::clock().now().date());
    options.confirmOverwrite = true;
    const QString target = Services::dialogs().saveFile(options);
    if (!target.isEmpty())
        CardFiles::backup(target);
    RefreshCardTree();
}

void TFrmCard::RestoreClick()
{
    if (Services::dialogs().messageBox(this,
                                       QStringLiteral("恢复数据库会覆盖当前所有记录，\r\r你确认要恢复存档数据吗?"),
                                       QStringLiteral("警告提示"), MsgIcon::Warning, MsgButtons::OkCancel)
        != MsgAnswer::Ok)
        return;
    const QString source
        = Services::dialogs().openFile(fileDialog(QStringLiteral("恢复数据"), kBackupFilter, QStringLiteral("Dat")));
    if (!source.isEmpty()) {
        if (CardFiles::restore(source))
            Services::dialogs().messageBox(this, QStringLiteral("成功读入：") + source + QStringLiteral("!"),
                                           QStringLiteral("信息提示"), MsgIcon::Information, MsgButtons::Ok);
        else
            Services::dialogs().messageBox(this, QStringLiteral("读入失败，请检查是否文件损坏！"),
                                           QStringLiteral("错误提示"), MsgIcon::Error, MsgButtons::Ok);
    }
    RefreshCardTree();
}

void TFrmCard::ExportTextClick()
{
    const QString file = CardFiles::exportFileName();
    CardFiles::exportText(file);
    Services::dialogs().messageBox(
        this, QStringLiteral("已成功导出文本文件:Card.Txt(与执行程序同目录)!\r\r          也可以另存到其它的地方。"),
        QStringLiteral("信息提示"), MsgIcon::Information, MsgButtons::Ok);
    Services::shell().open(file);
}

void TFrmCard::ExportVCardClick()
{
    if (refuseEmptyBook())
        return;
    FileDialogOptions options = fileDialog(QStringLiteral("导出vCard"), kVCardFilter, QStringLiteral("vcf"));
    options.fileName = VCard::defaultFileName();
    options.confirmOverwrite = true;
    const QString target = Services::dialogs().saveFile(options);
    if (target.isEmpty())
        return;
    const int count = VCard::exportFile(target);
    Services::dialogs().messageBox(this,
                                   QStringLiteral("已导出 %1 张名片到：").arg(count) + QDir::toNativeSeparators(target),
                                   QStringLiteral("信息提示"), MsgIcon::Information, MsgButtons::Ok);
}

void TFrmCard::ImportVCardClick()
{
    const QString source = Services::dialogs().openFile(fileDialog(QStringLiteral("导入vCard"), kVCardFilter));
    if (source.isEmpty())
        return;
    const VCard::ImportResult result = VCard::importFile(source);
    Services::dialogs().messageBox(this, VCard::summary(result), QStringLiteral("信息提示"),
                                   result.isVCard ? MsgIcon::Information : MsgIcon::Warning, MsgButtons::Ok);
    if (result.imported > 0)
        RefreshCardTree();
}
