#pragma once

#include "platform/AppError.h"
#include "platform/SoundPlayer.h"

#include <QStringList>
#include <QVector>

/// A sound player that records what it was asked to do. An open of a file in `missing` (or of any file when
/// `failOpen` is set) throws as a real player does for a file it cannot open.
class FakeSoundPlayer : public SoundPlayer
{
public:
    void setFileName(const QString& fileName) override { m_fileName = fileName; }
    QString fileName() const override { return m_fileName; }
    void open() override
    {
        calls << QStringLiteral("open ") + m_fileName;
        openFile.clear();
        playing = false;
        if (failOpen || missing.contains(m_fileName))
            throw AppError(QStringLiteral("无法打开声音文件 %1：文件不存在。").arg(m_fileName));
        openFile = m_fileName;
    }
    void play() override
    {
        calls << QStringLiteral("play ") + openFile;
        if (openFile.isEmpty())
            throw AppError(QStringLiteral("无法播放声音：没有打开声音文件。"));
        playing = true;
    }
    void stop() override
    {
        calls << QStringLiteral("stop");
        playing = false;
    }
    void close() override
    {
        calls << QStringLiteral("close");
        openFile.clear();
        playing = false;
    }

    QStringList calls; ///< "open <file>", "play <file>", "stop", "close", in order
    QString openFile; ///< the file now open; empty when closed
    bool playing = false; ///< whether the open file is playing
    bool failOpen = false;
    QStringList missing;

private:
    QString m_fileName;
};

/// Hands out FakeSoundPlayers and keeps a pointer to each, in creation order.
class FakeSoundPlayerFactory : public SoundPlayerFactory
{
public:
    std::unique_ptr<SoundPlayer> create() override
    {
        auto player = std::make_unique<FakeSoundPlayer>();
        created.append(player.get());
        return player;
    }
    QVector<FakeSoundPlayer*> created;
};
