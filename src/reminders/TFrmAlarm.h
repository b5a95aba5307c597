#pragma once

#include <QDialog>

class TFrmAlarm : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmAlarm(QWidget* parent = nullptr);
};
