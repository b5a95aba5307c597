#pragma once

#include <QDialog>

class TFrmSystemset : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmSystemset(QWidget* parent = nullptr);
};
