#pragma once

#include <QDialog>

class TFrmAlarminf : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmAlarminf(QWidget* parent = nullptr);
};
