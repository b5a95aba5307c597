#pragma once

#include <QDialog>

class Tfrmaddcontent : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrmaddcontent(QWidget* parent = nullptr);
};
