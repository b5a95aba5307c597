#pragma once

#include <QDialog>

class TFrmshowcontent : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmshowcontent(QWidget* parent = nullptr);
};
