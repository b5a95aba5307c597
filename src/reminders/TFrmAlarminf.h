#pragma once

#include "reminders/ReminderEditor.h"

/// "添加提醒信息": adds one reminder through the list window's Query2 (statement 3).
class TFrmAlarminf : public ReminderEditor
{
    Q_OBJECT
public:
    /// player becomes MediaPlayer1; listRows and changes are the list window's Query1 and Query2.
    TFrmAlarminf(SoundPlayer& player, TableQuery& listRows, TableQuery& changes, QWidget* parent = nullptr);

    /// The one shared reminder sound player: the engine, both editors' previews and the tray's
    /// "关闭提醒音乐" act on it. Start-up makes it before the first window, for the engine of the main window.
    SoundPlayer* MediaPlayer1 = nullptr;

public slots:
    void FormShow() override;
    void BitBtn1Click() override;
};
