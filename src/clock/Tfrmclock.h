#pragma once

#include <QWidget>

class Tfrmclock : public QWidget
{
    Q_OBJECT
public:
    explicit Tfrmclock(QWidget* parent = nullptr);
};
