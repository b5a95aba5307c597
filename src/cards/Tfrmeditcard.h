#pragma once

#include <QDialog>

class CardFieldPanel;
class QLineEdit;
class QPushButton;
class TableQuery;
class TFrmCard;

/// "修改名片": rewrites the card the card manager loaded into it, found again by its num.
class Tfrmeditcard : public QDialog
{
    Q_OBJECT
public:
    /// cards is the card manager, whose tree is rebuilt after every change.
    explicit Tfrmeditcard(TFrmCard& cards, QWidget* parent = nullptr);

    CardFieldPanel* Panel1 = nullptr;
    QLineEdit* Edit11 = nullptr; ///< hidden: the num of the card being modified
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
