#pragma once

#include <QDialog>

class TFrmShutdown : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmShutdown(QWidget* parent = nullptr);
};
