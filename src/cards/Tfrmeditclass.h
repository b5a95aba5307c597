#pragma once

#include <QDialog>

class Tfrmeditclass : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrmeditclass(QWidget* parent = nullptr);
};
