#pragma once

#include <QDialog>
#include <memory>

class SoundPlayer;

class TFrmAlarminf : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmAlarminf(QWidget* parent = nullptr);
    ~TFrmAlarminf() override;

    /// The one shared reminder sound player: the engine, both editors' previews and the tray's
    /// "关闭提醒音乐" act on it.
    SoundPlayer* MediaPlayer1 = nullptr;

private:
    std::unique_ptr<SoundPlayer> m_player;
};
