#include "LinuxSoundPlayer.h"

#include "platform/AppError.h"

#include <QFileInfo>

namespace {

class NullPlayer : public SoundPlayer
{
public:
    void setFileName(const QString& fileName) override { m_fileName = fileName; }
    QString fileName() const override { return m_fileName; }
    void open() override
    {
        if (!QFileInfo(m_fileName).isFile())
            throw AppError(QStringLiteral("无法打开声音文件：%1").arg(m_fileName));
    }
    void play() override {}
    void stop() override {}
    void close() override {}

private:
    QString m_fileName;
};

} // namespace

std::unique_ptr<SoundPlayer> LinuxSoundPlayerFactory::create() { return std::make_unique<NullPlayer>(); }
