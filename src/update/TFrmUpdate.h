#pragma once

#include <QDialog>

class TFrmUpdate : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmUpdate(QWidget* parent = nullptr);
};
