#pragma once

#include "platform/SoundPlayer.h"

#include <QObject>
#include <functional>
#include <memory>

class QThread;
class SoundBackend;

/// Plays wave and MIDI files. A wave file of plain samples (the chimes and the reminder sounds) goes straight to the
/// sound server through an audio sink, which costs a thread and little memory; everything else, MIDI first, goes
/// through QMediaPlayer (GStreamer; MIDI through its soundfont synthesiser), started only when such a file is opened.
/// Without an audio device a wave plays into nothing and GStreamer into a dummy sink, so nothing fails for want of
/// speakers.
///
/// Starting the media backend and opening a file can take a second and more (plugin loading, the sound server, a
/// MIDI synthesiser). The player therefore lives on a thread of its own: open, play, stop and close check what can
/// be checked at once and hand the rest over in order, so a reminder's pop-up and program never wait for its sound;
/// the sound may start a little later. Errors the backend finds later come back to this thread and are reported
/// once per opened file.
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

    /// Waits until the player's thread has done everything handed to it so far; for tests.
    bool waitUntilIdle(int timeoutMs);

private:
    void post(std::function<void(SoundBackend&)> work);

    QString m_fileName;
    bool m_open = false;
    QThread* m_thread = nullptr; ///< started with the first file opened
    SoundBackend* m_backend = nullptr; ///< lives on m_thread
};

class LinuxSoundPlayerFactory : public SoundPlayerFactory
{
public:
    std::unique_ptr<SoundPlayer> create() override;
};
