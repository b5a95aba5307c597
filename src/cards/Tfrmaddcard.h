#pragma once

#include <QDialog>

class CardFieldPanel;
class QPushButton;
class TableQuery;

/// "增加名片": inserts new cards and stays open for the next one.
class Tfrmaddcard : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrmaddcard(QWidget* parent = nullptr);

    CardFieldPanel* Panel1 = nullptr;
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
