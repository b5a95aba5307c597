#pragma once

#include "CategoryNameDialog.h"

/// "添加分类": adds one category. However it closes, the category list is re-read.
class Tfrmaddclass : public CategoryNameDialog
{
    Q_OBJECT
public:
    explicit Tfrmaddclass(QWidget* parent = nullptr);

public slots:
    void FormShow() override;
    void Button1Click() override;
    void FormClose();

    void done(int result) override;
};
