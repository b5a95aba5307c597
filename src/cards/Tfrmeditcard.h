#pragma once

#include "widgets/CentredDialog.h"

class CardFieldPanel;
class QLineEdit;
class QPushButton;
class TableQuery;
class TFrmCard;

/// "修改名片": rewrites the card the card manager loaded into it, found again by its num.
class Tfrmeditcard : public CentredDialog
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
    void FormShow() override;
    void Button1Click();
    void Button2Click();

private:
    TFrmCard& m_cards;
};
