#pragma once

#include "CategoryNameDialog.h"

class Tfrmsetclass;

/// "添加分类": adds one category. However it closes, the category list is re-read.
class Tfrmaddclass : public CategoryNameDialog
{
    Q_OBJECT
public:
    /// list is the category window, whose list is re-read after a change.
    explicit Tfrmaddclass(Tfrmsetclass& list, QWidget* parent = nullptr);

public slots:
    void FormShow() override;
    void Button1Click() override;
    void FormClose() override;

private:
    Tfrmsetclass& m_list;
};
