#include "LinuxSoundPlayer.h"

#include "platform/AppError.h"
#include "platform/Services.h"

#include <QAudioOutput>
#include <QDir>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QSemaphore>
#include <QThread>
#include <QUrl>

namespace {
constexpr int kShutdownWaitMs = 5000;
} // namespace

/// The media player itself, on the sound thread.
class SoundBackend : public QObject
{
    Q_OBJECT
public:
    void open(const QString& file)
    {
        ensurePlayer();
        m_openFile = file;
        m_errorReported = false;
        m_player->setSource(QUrl::fromLocalFile(file));
    }
    void play()
    {
        if (!m_player || m_openFile.isEmpty())
            return;
        m_player->setPosition(0);
        m_player->play();
    }
    void stop()
    {
        if (m_player && !m_openFile.isEmpty())
            m_player->stop();
    }
    void close()
    {
        if (!m_player || m_openFile.isEmpty())
            return;
        m_openFile.clear();
        m_player->stop();
        m_player->setSource(QUrl());
    }

signals:
    void failed(const QString& text);

private:
    // Made at the first open: starting the media backend talks to the sound server, which a player that is never
    // used should not do.
    void ensurePlayer()
    {
        if (m_player)
            return;
        m_output = new QAudioOutput(this);
        m_player = new QMediaPlayer(this);
        m_player->setAudioOutput(m_output);
        // GStreamer tells of one failure several times over; the user hears of it once per opened file.
        connect(m_player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error, const QString& text) {
            if (error == QMediaPlayer::NoError || m_errorReported || m_openFile.isEmpty())
                return;
            m_errorReported = true;
            emit failed(QStringLiteral("无法播放声音文件 %1：%2")
                            .arg(QDir::toNativeSeparators(m_openFile),
                                 text.isEmpty() ? QStringLiteral("未知的媒体错误") : text));
        });
    }

    QAudioOutput* m_output = nullptr;
    QMediaPlayer* m_player = nullptr;
    QString m_openFile;
    bool m_errorReported = false;
};

LinuxSoundPlayer::LinuxSoundPlayer()
    : m_thread(new QThread)
    , m_backend(new SoundBackend)
{
    m_thread->setObjectName(QStringLiteral("vantrel-sound"));
    m_backend->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_backend, &QObject::deleteLater);
    connect(m_backend, &SoundBackend::failed, this, [](const QString& text) { Services::reportError(text); });
    m_thread->start();
}

LinuxSoundPlayer::~LinuxSoundPlayer()
{
    m_backend->disconnect(this);
    m_thread->quit();
    if (m_thread->wait(kShutdownWaitMs))
        delete m_thread;
    // A backend stuck in the sound server is left to the end of the process rather than destroyed under it.
}

void LinuxSoundPlayer::post(std::function<void(SoundBackend&)> work)
{
    SoundBackend* backend = m_backend;
    QMetaObject::invokeMethod(
        m_backend, [backend, work = std::move(work)] { work(*backend); }, Qt::QueuedConnection);
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
    m_open = true;
    post([file = info.absoluteFilePath()](SoundBackend& backend) { backend.open(file); });
}

void LinuxSoundPlayer::play()
{
    if (!m_open)
        throw AppError(QStringLiteral("无法播放声音：没有打开声音文件。"));
    post([](SoundBackend& backend) { backend.play(); });
}

void LinuxSoundPlayer::stop()
{
    if (m_open)
        post([](SoundBackend& backend) { backend.stop(); });
}

void LinuxSoundPlayer::close()
{
    if (!m_open)
        return;
    m_open = false;
    post([](SoundBackend& backend) { backend.close(); });
}

bool LinuxSoundPlayer::waitUntilIdle(int timeoutMs)
{
    auto done = std::make_shared<QSemaphore>();
    post([done](SoundBackend&) { done->release(); });
    return done->tryAcquire(1, timeoutMs);
}

std::unique_ptr<SoundPlayer> LinuxSoundPlayerFactory::create()
{
    return std::make_unique<LinuxSoundPlayer>();
}

#include "LinuxSoundPlayer.moc"
