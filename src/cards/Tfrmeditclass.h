#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class TableQuery;

/// "修改分类": renames the category current in the list, and carries the new name into its cards.
class Tfrmeditclass : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrmeditclass(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr; ///< hidden: the num of the category
    QLineEdit* Edit3 = nullptr; ///< hidden: its former name
    QPushButton* Button1 = nullptr; ///< "确定"
    QPushButton* Button2 = nullptr; ///< "取消"
    TableQuery* Query1 = nullptr;

public slots:
    void FormShow();
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;
};
