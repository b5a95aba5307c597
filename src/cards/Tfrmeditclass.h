#pragma once

#include "CategoryNameDialog.h"

class Tfrmsetclass;

/// "修改分类": renames the category current in the list, and carries the new name into its cards.
class Tfrmeditclass : public CategoryNameDialog
{
    Q_OBJECT
public:
    /// list is the category window, whose list is re-read after a change.
    explicit Tfrmeditclass(Tfrmsetclass& list, QWidget* parent = nullptr);

    QLineEdit* Edit2 = nullptr; ///< hidden: the num of the category
    QLineEdit* Edit3 = nullptr; ///< hidden: its former name

public slots:
    void FormShow() override;
    void Button1Click() override;

private:
    Tfrmsetclass& m_list;
};
