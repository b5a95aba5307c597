#pragma once

#include <QDialog>

class Tfrmaddcard : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrmaddcard(QWidget* parent = nullptr);
};
