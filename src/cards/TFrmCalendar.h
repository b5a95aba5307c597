#pragma once

#include <QDialog>

class TFrmCalendar : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmCalendar(QWidget* parent = nullptr);
};
