#pragma once

#include "reminders/ReminderEditor.h"

#include <memory>

class SoundPlayer;

/// "添加提醒信息": adds one reminder through the list window's Query2 (statement 3).
class TFrmAlarminf : public ReminderEditor
{
    Q_OBJECT
public:
    explicit TFrmAlarminf(QWidget* parent = nullptr);
    ~TFrmAlarminf() override;

    /// The one shared reminder sound player: the engine, both editors' previews and the tray's
    /// "关闭提醒音乐" act on it.
    SoundPlayer* MediaPlayer1 = nullptr;

public slots:
    void FormShow() override;
    void SpeedButton2Click() override;
    void BitBtn1Click() override;

protected:
    SoundPlayer& player() override { return *MediaPlayer1; }

private:
    std::unique_ptr<SoundPlayer> m_player;
};
