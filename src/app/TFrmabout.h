#pragma once

#include "widgets/CentredDialog.h"

/// "关于": the product name, its version and the maker's contact lines.
class TFrmabout : public CentredDialog
{
    Q_OBJECT
public:
    explicit TFrmabout(QWidget* parent = nullptr);
};
