#pragma once

#include <QString>
#include <memory>

/// A media player for wave and MIDI files, driven by file name like a media control.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    virtual void setFileName(const QString& fileName) = 0;
    virtual QString fileName() const = 0;
    /// Opens fileName(), closing whatever was open. Throws AppError at once when the file cannot be opened.
    virtual void open() = 0;
    /// Plays the open file once from its start and returns at once.
    virtual void play() = 0;
    /// Halts playback; the file stays open.
    virtual void stop() = 0;
    /// Halts playback and releases the file. Harmless when nothing is open.
    virtual void close() = 0;
};

/// Makes the players: the shared reminder player and the settings window's chime player are separate objects.
class SoundPlayerFactory
{
public:
    virtual ~SoundPlayerFactory() = default;
    virtual std::unique_ptr<SoundPlayer> create() = 0;
};
