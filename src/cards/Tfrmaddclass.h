#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class TableQuery;

/// "添加分类": adds one category. However it closes, the category list is re-read.
class Tfrmaddclass : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrmaddclass(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr; ///< "确定"
    QPushButton* Button2 = nullptr; ///< "取消"
    TableQuery* Query1 = nullptr;

public slots:
    void FormShow();
    void Button1Click();
    void Button2Click();
    void FormClose();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
};
