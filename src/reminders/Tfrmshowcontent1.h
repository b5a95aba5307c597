#pragma once

#include <QDialog>

class Tfrmshowcontent1 : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrmshowcontent1(QWidget* parent = nullptr);
};
