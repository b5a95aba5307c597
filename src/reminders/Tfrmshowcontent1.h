#pragma once

#include "reminders/PhraseChooser.h"

/// "请选择提示内容" for the modify window: fills TFrmEdit's Memo1.
class Tfrmshowcontent1 : public PhraseChooser
{
    Q_OBJECT
public:
    /// target is the modify window's Memo1.
    explicit Tfrmshowcontent1(GbkTextEdit& target, QWidget* parent = nullptr);

    QListWidget* listbox1 = nullptr;

public slots:
    void FormShow();
    void listbox1DblClick();

protected:
    void onShow() override { FormShow(); }
    void onDoubleClick() override { listbox1DblClick(); }
};
