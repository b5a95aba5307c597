#pragma once

#include "widgets/CentredDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;
class TableQuery;

/// What the add- and modify-category windows share: the caption "分类名称：", one name field, "确定" and "取消",
/// and the query they write with.
class CategoryNameDialog : public CentredDialog
{
    Q_OBJECT
public:
    CategoryNameDialog(const QString& objectName, const QString& title, const QSize& size, QWidget* parent);

    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr; ///< "确定"
    QPushButton* Button2 = nullptr; ///< "取消"
    TableQuery* Query1 = nullptr;

public slots:
    void FormShow() override = 0;
    virtual void Button1Click() = 0;
    void Button2Click();

protected:
    /// False, after the refusal "请 输 入 分 类 名 称!", when the name field is empty.
    bool requireName(bool refocus);
};
