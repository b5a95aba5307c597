#pragma once

#include <QDialog>

class TFrmCard : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmCard(QWidget* parent = nullptr);
};
