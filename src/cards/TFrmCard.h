#pragma once

#include "platform/Dialogs.h"
#include "widgets/CentredDialog.h"

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QStatusBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TableQuery;
class Tfrmaddcard;
class Tfrmeditcard;
class Tfrmsetclass;

/// "名片管理": the category tree with the names of its cards on the left, the selected card's details on the
/// right, and the commands that add, modify and delete cards, manage the categories, and back up, restore and export
/// the card table.
class TFrmCard : public CentredDialog
{
    Q_OBJECT
public:
    explicit TFrmCard(QWidget* parent = nullptr);

    /// The windows this one opens; start-up hands them over once they exist.
    struct Opens
    {
        Tfrmaddcard* addCard = nullptr;
        Tfrmeditcard* editCard = nullptr; ///< filled with the selected card before it opens
        Tfrmsetclass* categories = nullptr;
    };
    void setOpens(const Opens& windows) { m_opens = windows; }

    /// Rebuilds the whole tree from the tables: categories in table order, each with its cards, sorted and
    /// collapsed. The previous selection is not kept.
    void RefreshCardTree();
    /// Fills the details with the card of that name in the selected node's category.
    void ShowCardDetails(const QString& name);
    /// Empties the details and the hidden num.
    void ClearCardDetails();

    QMenuBar* MainMenu1 = nullptr;
    QAction* N2 = nullptr; ///< "添加名片"
    QAction* N3 = nullptr; ///< "修改名片"
    QAction* N4 = nullptr; ///< "删除名片"
    QAction* N6 = nullptr; ///< "关    闭"
    QAction* N8 = nullptr; ///< "数据库导出"
    QAction* N9 = nullptr; ///< "数据库导入"
    QAction* N11 = nullptr; ///< "另存为文本"
    QAction* N19 = nullptr; ///< "导出vCard…"
    QAction* N20 = nullptr; ///< "导入vCard…"
    QAction* N13 = nullptr; ///< "名片分类"

    QWidget* ToolBar1 = nullptr;
    QToolButton* ToolButton1 = nullptr; ///< "名片增加"
    QToolButton* ToolButton2 = nullptr; ///< "名片修改"
    QToolButton* ToolButton3 = nullptr; ///< "名片删除"
    QToolButton* ToolButton5 = nullptr; ///< "数据导出"
    QToolButton* ToolButton6 = nullptr; ///< "数据导入"
    QToolButton* ToolButton7 = nullptr; ///< "存为文本"
    QToolButton* ToolButton9 = nullptr; ///< "分类设置"
    QToolButton* ToolButton11 = nullptr; ///< "关闭"

    QTreeWidget* TreeView1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* N14 = nullptr; ///< "增  加"
    QAction* N16 = nullptr; ///< "修  改"
    QAction* N18 = nullptr; ///< "删  除"

    QFrame* Panel1 = nullptr;
    /// classify, name, netname, qq, msn, uc, email, mobile, tel, home, address; read-only.
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QLineEdit* Edit7 = nullptr;
    QLineEdit* Edit8 = nullptr;
    QLineEdit* Edit9 = nullptr;
    QLineEdit* Edit10 = nullptr;
    QLineEdit* Edit11 = nullptr;
    QLineEdit* Edit12 = nullptr; ///< hidden: the num of the card shown; delete uses it
    QPlainTextEdit* Memo1 = nullptr;

    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusPanel1 = nullptr;

    TableQuery* Query1 = nullptr; ///< categories
    TableQuery* Query2 = nullptr; ///< the cards of one category
    TableQuery* Query3 = nullptr; ///< one card, and the delete

public slots:
    void FormShow() override;
    void TreeView1Change();
    void AddCardClick();
    void ModifyCardClick();
    void DeleteCardClick();
    void CategoriesClick();
    void CloseClick();
    void BackupClick();
    void RestoreClick();
    void ExportTextClick();
    void ExportVCardClick();
    void ImportVCardClick();

private:
    /// The selected card node, or null when the selection is no card or a card whose name is only blanks.
    QTreeWidgetItem* selectedCard() const;
    QList<QLineEdit*> detailEdits() const;
    /// True, after saying so, when the card table holds no card to save.
    bool refuseEmptyBook();
    /// A file dialog that starts in the backup folder (made when missing).
    FileDialogOptions fileDialog(const QString& title, const QString& filter, const QString& suffix = {});

    Opens m_opens;
};
