#pragma once

#include "widgets/CentredDialog.h"

class CardFieldPanel;
class QPushButton;
class TableQuery;
class TFrmCard;

/// "增加名片": inserts new cards and stays open for the next one.
class Tfrmaddcard : public CentredDialog
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
    void FormShow() override;
    void Button1Click();
    void Button2Click();

private:
    TFrmCard& m_cards;
};
