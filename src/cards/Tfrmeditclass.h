#pragma once

#include "CategoryNameDialog.h"

/// "修改分类": renames the category current in the list, and carries the new name into its cards.
class Tfrmeditclass : public CategoryNameDialog
{
    Q_OBJECT
public:
    explicit Tfrmeditclass(QWidget* parent = nullptr);

    QLineEdit* Edit2 = nullptr; ///< hidden: the num of the category
    QLineEdit* Edit3 = nullptr; ///< hidden: its former name

public slots:
    void FormShow() override;
    void Button1Click() override;
};
