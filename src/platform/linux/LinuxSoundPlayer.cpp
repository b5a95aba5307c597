#include "LinuxSoundPlayer.h"

#include "WavFile.h"
#include "platform/AppError.h"
#include "platform/Services.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioOutput>
#include <QAudioSink>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QSemaphore>
#include <QThread>
#include <QUrl>

namespace {
constexpr int kShutdownWaitMs = 5000;
} // namespace

/// The samples of a wave file, read from the file as the sound card asks for them.
class WaveSamples : public QIODevice
{
public:
    WaveSamples(const QString& file, const WavFormat& format)
        : m_file(file)
        , m_format(format)
    { }
    bool openSamples() { return m_file.open(QIODevice::ReadOnly) && open(QIODevice::ReadOnly | QIODevice::Unbuffered); }
    bool isSequential() const override { return false; }
    qint64 size() const override { return m_format.dataSize; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 wanted = qMin(maxSize, m_format.dataSize - pos());
        if (wanted <= 0)
            return 0; // the end: the sink goes idle and the sound is over
        if (!m_file.seek(m_format.dataOffset + pos()))
            return -1;
        return m_file.read(data, wanted);
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QFile m_file;
    WavFormat m_format;
};

/// The sound itself, on the sound thread. A wave file of plain samples goes straight to the sound card (the audio
/// sink: the sound server's client library and nothing else); every other file, MIDI tunes first, goes through the
/// media player, whose backend (GStreamer and its plugins, a synthesiser for MIDI) is started at the first such file.
class SoundBackend : public QObject
{
    Q_OBJECT
public:
    void open(const QString& file)
    {
        m_openFile = file;
        m_errorReported = false;
        if (openWave(file))
            return;
        ensurePlayer();
        m_player->setSource(QUrl::fromLocalFile(file));
    }
    void play()
    {
        if (m_openFile.isEmpty())
            return;
        if (m_samples) {
            playWave();
            return;
        }
        if (!m_player)
            return;
        m_player->setPosition(0);
        m_player->play();
    }
    void stop()
    {
        if (m_openFile.isEmpty())
            return;
        if (m_sink)
            m_sink->stop();
        if (m_player)
            m_player->stop();
    }
    void close()
    {
        if (m_openFile.isEmpty())
            return;
        m_openFile.clear();
        delete m_sink;
        m_sink = nullptr;
        m_samples.reset();
        if (m_player) {
            m_player->stop();
            m_player->setSource(QUrl());
        }
    }

signals:
    void failed(const QString& text);

private:
    void reportFailure(const QString& reason)
    {
        // One failure may be told several times over; the user hears of it once per opened file.
        if (m_errorReported || m_openFile.isEmpty())
            return;
        m_errorReported = true;
        emit failed(QStringLiteral("无法播放声音文件 %1：%2").arg(QDir::toNativeSeparators(m_openFile), reason));
    }

    bool openWave(const QString& file)
    {
        QFile header(file);
        if (!header.open(QIODevice::ReadOnly))
            return false;
        const std::optional<WavFormat> wave = WavFile::readHeader(header);
        if (!wave)
            return false;
        QAudioFormat format;
        format.setSampleRate(wave->sampleRate);
        format.setChannelCount(wave->channels);
        switch (wave->sample) {
        case WavFormat::Sample::UInt8:
            format.setSampleFormat(QAudioFormat::UInt8);
            break;
        case WavFormat::Sample::Int16:
            format.setSampleFormat(QAudioFormat::Int16);
            break;
        case WavFormat::Sample::Int32:
            format.setSampleFormat(QAudioFormat::Int32);
            break;
        case WavFormat::Sample::Float32:
            format.setSampleFormat(QAudioFormat::Float);
            break;
        }
        // A card that cannot take these samples as they are leaves the file to the media backend, which converts.
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (!device.isNull() && !device.isFormatSupported(format))
            return false;
        auto samples = std::make_unique<WaveSamples>(file, *wave);
        if (!samples->openSamples())
            return false;
        m_samples = std::move(samples);
        m_format = format;
        return true;
    }

    void playWave()
    {
        // Without a sound card the sound plays into nothing, as the media backend's dummy sink would.
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull())
            return;
        if (!m_sink || m_sinkDevice != device) {
            delete m_sink;
            m_sinkDevice = device;
            m_sink = new QAudioSink(device, m_format, this);
            connect(m_sink, &QAudioSink::stateChanged, this, [this, sink = m_sink](QAudio::State state) {
                if (sink != m_sink)
                    return;
                if (state == QAudio::IdleState && m_samples && m_samples->atEnd()) {
                    // Played to its end: the stream is given back at once, not held open until the next sound.
                    QMetaObject::invokeMethod(
                        this,
                        [this, sink] {
                            if (sink == m_sink)
                                m_sink->stop();
                        },
                        Qt::QueuedConnection);
                    return;
                }
                if (state == QAudio::StoppedState)
                    checkSink();
            });
        }
        m_sink->stop();
        m_samples->seek(0);
        m_sink->start(m_samples.get());
        checkSink();
    }

    void checkSink()
    {
        switch (m_sink->error()) {
        case QAudio::NoError:
        case QAudio::UnderrunError:
            return;
        case QAudio::OpenError:
            reportFailure(QStringLiteral("无法打开音频设备"));
            return;
        case QAudio::IOError:
            reportFailure(QStringLiteral("音频设备读写出错"));
            return;
        case QAudio::FatalError:
            reportFailure(QStringLiteral("音频设备出错"));
            return;
        }
    }

    // Made at the first file that needs it: starting the media backend loads GStreamer and talks to the sound
    // server, which a program that only ever plays wave files should not pay for.
    void ensurePlayer()
    {
        if (m_player)
            return;
        m_output = new QAudioOutput(this);
        m_player = new QMediaPlayer(this);
        m_player->setAudioOutput(m_output);
        connect(m_player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error, const QString& text) {
            if (error == QMediaPlayer::NoError || m_samples)
                return;
            reportFailure(text.isEmpty() ? QStringLiteral("未知的媒体错误") : text);
        });
    }

    QAudioOutput* m_output = nullptr;
    QMediaPlayer* m_player = nullptr;
    std::unique_ptr<WaveSamples> m_samples; ///< the open wave file, when it goes straight to the sound card
    QAudioFormat m_format;
    QAudioDevice m_sinkDevice;
    QAudioSink* m_sink = nullptr;
    QString m_openFile;
    bool m_errorReported = false;
};

LinuxSoundPlayer::LinuxSoundPlayer() = default;

LinuxSoundPlayer::~LinuxSoundPlayer()
{
    if (!m_thread)
        return;
    m_backend->disconnect(this);
    m_thread->quit();
    if (m_thread->wait(kShutdownWaitMs))
        delete m_thread;
    // A backend stuck in the sound server is left to the end of the process rather than destroyed under it.
}

void LinuxSoundPlayer::post(std::function<void(SoundBackend&)> work)
{
    // The thread and the backend come with the first sound: most players (one per chime, the reminders' shared
    // one) sit silent for hours, and an idle thread still costs its stack and a wake-up at start.
    if (!m_thread) {
        m_thread = new QThread;
        m_backend = new SoundBackend;
        m_thread->setObjectName(QStringLiteral("vantrel-sound"));
        m_backend->moveToThread(m_thread);
        connect(m_thread, &QThread::finished, m_backend, &QObject::deleteLater);
        connect(m_backend, &SoundBackend::failed, this, [](const QString& text) { Services::reportError(text); });
        m_thread->start();
    }
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
    if (!m_thread)
        return true; // nothing was ever handed over
    auto done = std::make_shared<QSemaphore>();
    post([done](SoundBackend&) { done->release(); });
    return done->tryAcquire(1, timeoutMs);
}

std::unique_ptr<SoundPlayer> LinuxSoundPlayerFactory::create()
{
    return std::make_unique<LinuxSoundPlayer>();
}

#include "LinuxSoundPlayer.moc"
