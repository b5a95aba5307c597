#pragma once

#include <QDialog>

class CardFieldPanel;
class QPushButton;
class TableQuery;
class TFrmCard;

/// "增加名片": inserts new cards and stays open for the next one.
class Tfrmaddcard : public QDialog
{
    Q_OBJECT
public:
    /// cards is the card manager, whose tree is rebuilt after every change.
    explicit Tfrmaddcard(TFrmCard& cards, QWidget* parent = nullptr);

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

private:
    TFrmCard& m_cards;
};
