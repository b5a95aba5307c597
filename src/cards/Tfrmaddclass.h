#pragma once

#include <QDialog>

class Tfrmaddclass : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrmaddclass(QWidget* parent = nullptr);
};
