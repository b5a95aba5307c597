#pragma once

#include <QDialog>

class TFrmEdit : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmEdit(QWidget* parent = nullptr);
};
