#pragma once

#include <QDialog>

class Tfrmeditcard : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrmeditcard(QWidget* parent = nullptr);
};
