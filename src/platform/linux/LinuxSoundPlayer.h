#pragma once

#include "platform/SoundPlayer.h"

#include <QObject>
#include <memory>

class QAudioOutput;
class QMediaPlayer;

/// Plays wave and MIDI files through QMediaPlayer (GStreamer; MIDI through its soundfont synthesiser).
/// Without an audio device GStreamer plays into a dummy sink, so nothing fails for want of speakers.
class LinuxSoundPlayer : public QObject, public SoundPlayer
{
    Q_OBJECT
public:
    LinuxSoundPlayer();
    ~LinuxSoundPlayer() override;

    void setFileName(const QString& fileName) override { m_fileName = fileName; }
    QString fileName() const override { return m_fileName; }
    void open() override;
    void play() override;
    void stop() override;
    void close() override;

private:
    void ensureBackend();

    QString m_fileName;
    QString m_openFile;
    bool m_errorReported = false;
    // Made at the first open: starting the media backend talks to the sound server, which a player that is never
    // used should not do.
    std::unique_ptr<QAudioOutput> m_output;
    std::unique_ptr<QMediaPlayer> m_player;
};

class LinuxSoundPlayerFactory : public SoundPlayerFactory
{
public:
    std::unique_ptr<SoundPlayer> create() override;
};
