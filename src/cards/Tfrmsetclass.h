#pragma once

#include "widgets/CentredDialog.h"

class QLineEdit;
class QPushButton;
class QTableView;
class TableQuery;
class TFrmCard;
class TableQueryModel;

/// "分类信息设置": the category list, from which categories are added, renamed and deleted. A rename carries the
/// new name into the cards of the old one; a delete removes the cards of that name. Closing it rebuilds the card
/// tree.
class Tfrmsetclass : public CentredDialog
{
    Q_OBJECT
public:
    /// cards is the card manager, whose tree is rebuilt when this window closes.
    explicit Tfrmsetclass(TFrmCard& cards, QWidget* parent = nullptr);

    /// The windows this one opens; start-up hands them over once they exist.
    struct Opens
    {
        QDialog* addCategory = nullptr; ///< "增加": Tfrmaddclass
        QDialog* editCategory = nullptr; ///< "修改": Tfrmeditclass
    };
    void setOpens(const Opens& windows) { m_opens = windows; }

    /// Re-runs the list after a change; the first row becomes current.
    void RefreshList();
    /// Whether the list has a current row (an empty list has none).
    bool hasCurrent() const;

    QTableView* DBGrid1 = nullptr;
    TableQueryModel* DataSource1 = nullptr;
    QLineEdit* DBEdit1 = nullptr; ///< hidden: the current row's num
    QLineEdit* DBEdit2 = nullptr; ///< hidden: the current row's classify
    QPushButton* Button1 = nullptr; ///< "增加"
    QPushButton* Button2 = nullptr; ///< "修改"
    QPushButton* Button3 = nullptr; ///< "删除"
    QPushButton* Button4 = nullptr; ///< "关闭"
    TableQuery* Query1 = nullptr; ///< the list
    TableQuery* Query2 = nullptr; ///< the deletes

public slots:
    void FormShow() override;
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void FormClose() override;

private:
    void followQuery();

    TFrmCard& m_cards;
    Opens m_opens;
};
