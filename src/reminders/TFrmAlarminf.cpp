#include "TFrmAlarminf.h"

#include "platform/Services.h"
#include "platform/SoundPlayer.h"

TFrmAlarminf::TFrmAlarminf(QWidget* parent)
    : QDialog(parent)
    , m_player(Services::soundPlayers().create())
{
    MediaPlayer1 = m_player.get();
    setObjectName(QStringLiteral("FrmAlarminf"));
    setWindowTitle(QStringLiteral("添加提醒信息"));
    setFixedSize(337, 324);
}

TFrmAlarminf::~TFrmAlarminf() = default;
