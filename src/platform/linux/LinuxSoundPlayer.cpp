#include "LinuxSoundPlayer.h"

#include "platform/AppError.h"
#include "platform/Services.h"

#include <QAudioOutput>
#include <QDir>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>

LinuxSoundPlayer::LinuxSoundPlayer() = default;

LinuxSoundPlayer::~LinuxSoundPlayer()
{
    if (m_player)
        m_player->disconnect(this);
}

void LinuxSoundPlayer::ensureBackend()
{
    if (m_player)
        return;
    m_output = std::make_unique<QAudioOutput>();
    m_player = std::make_unique<QMediaPlayer>();
    m_player->setAudioOutput(m_output.get());
    // GStreamer tells of one failure several times over; the user hears of it once per opened file.
    connect(m_player.get(), &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error, const QString& text) {
        if (error == QMediaPlayer::NoError || m_errorReported || m_openFile.isEmpty())
            return;
        m_errorReported = true;
        Services::reportError(
            QStringLiteral("无法播放声音文件 %1：%2")
                .arg(QDir::toNativeSeparators(m_openFile), text.isEmpty() ? QStringLiteral("未知的媒体错误") : text));
    });
}

void LinuxSoundPlayer::open()
{
    close();
    // The media backend finds a missing file only later, and from inside its own events; the caller must hear of
    // it here, before it goes on as if the sound were ready.
    const QFileInfo info(m_fileName);
    if (m_fileName.isEmpty())
        throw AppError(QStringLiteral("无法打开声音文件：没有指定文件名。"));
    if (!info.exists())
        throw AppError(QStringLiteral("无法打开声音文件 %1：文件不存在。").arg(QDir::toNativeSeparators(m_fileName)));
    if (!info.isFile() || !info.isReadable())
        throw AppError(QStringLiteral("无法打开声音文件 %1：文件不可读。").arg(QDir::toNativeSeparators(m_fileName)));
    ensureBackend();
    m_openFile = info.absoluteFilePath();
    m_errorReported = false;
    m_player->setSource(QUrl::fromLocalFile(m_openFile));
}

void LinuxSoundPlayer::play()
{
    if (!m_player || m_openFile.isEmpty())
        throw AppError(QStringLiteral("无法播放声音：没有打开声音文件。"));
    m_player->setPosition(0);
    m_player->play();
}

void LinuxSoundPlayer::stop()
{
    if (m_player && !m_openFile.isEmpty())
        m_player->stop();
}

void LinuxSoundPlayer::close()
{
    if (!m_player || m_openFile.isEmpty())
        return;
    m_openFile.clear();
    m_player->stop();
    m_player->setSource(QUrl());
}

std::unique_ptr<SoundPlayer> LinuxSoundPlayerFactory::create()
{
    return std::make_unique<LinuxSoundPlayer>();
}
