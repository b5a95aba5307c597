#pragma once

#include <QDialog>

class Tfrmsetclass : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrmsetclass(QWidget* parent = nullptr);
};
