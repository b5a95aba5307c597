#pragma once

#include "reminders/PhraseChooser.h"

/// "请选择提示内容" for the add window: fills TFrmAlarminf's Memo1.
class TFrmshowcontent : public PhraseChooser
{
    Q_OBJECT
public:
    /// target is the add window's Memo1.
    explicit TFrmshowcontent(GbkTextEdit& target, QWidget* parent = nullptr);

    QListWidget* ListBox1 = nullptr;

public slots:
    void FormShow();
    void ListBox1DblClick();

protected:
    void onShow() override { FormShow(); }
    void onDoubleClick() override { ListBox1DblClick(); }
};
