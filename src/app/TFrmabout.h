#pragma once

#include <QDialog>

/// "关于": the product name, its version and the maker's contact lines.
class TFrmabout : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmabout(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
};
