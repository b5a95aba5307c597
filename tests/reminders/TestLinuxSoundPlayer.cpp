#include "fakes/TestEnvironment.h"
#include "platform/AppError.h"
#include "platform/linux/LinuxSoundPlayer.h"
#include "platform/linux/WavFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QtEndian>

Q_DECLARE_METATYPE(WavFormat::Sample)

namespace {

QByteArray le16(int v)
{
    QByteArray b(2, 0);
    qToLittleEndian<quint16>(quint16(v), b.data());
    return b;
}

QByteArray le32(qint64 v)
{
    QByteArray b(4, 0);
    qToLittleEndian<quint32>(quint32(v), b.data());
    return b;
}

QByteArray chunk(const QByteArray& id, const QByteArray& body, qint64 declaredSize = -1)
{
    QByteArray c = id + le32(declaredSize < 0 ? body.size() : declaredSize) + body;
    if (body.size() % 2 && declaredSize < 0)
        c += '\0';
    return c;
}

QByteArray fmt(int tag, int channels, int rate, int bits, int blockAlign = -1)
{
    const int align = blockAlign < 0 ? channels * bits / 8 : blockAlign;
    return le16(tag) + le16(channels) + le32(rate) + le32(qint64(rate) * align) + le16(align) + le16(bits);
}

QByteArray extensible(int channels, int rate, int bits, int validBits, int subTag)
{
    return fmt(0xFFFE, channels, rate, bits) + le16(22) + le16(validBits) + le32(3) + le16(subTag)
        + QByteArray("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
}

QByteArray riff(const QByteArray& chunks)
{
    return "RIFF" + le32(4 + chunks.size()) + "WAVE" + chunks;
}

int soundThreads()
{
    int count = 0;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(task + QStringLiteral("/comm")));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "vantrel-sound")
            ++count;
    }
    return count;
}

} // namespace

// The real player: wave files straight to the sound server, the rest on the media backend. No audio device is
// needed: a wave then plays into nothing, and the backend into a dummy sink.
class TestLinuxSoundPlayer : public QObject
{
    Q_OBJECT
private slots:
    void readsWaveHeaders_data();
    void readsWaveHeaders();
    // Before anything here starts the media backend: the test looks at what the process has loaded.
    void waveNeedsNoMediaBackend();
    void openRefusesAtOnce_data();
    void openRefusesAtOnce();
    void playsWaveAndMidiWithoutError_data();
    void playsWaveAndMidiWithoutError();
    void laterBackendErrorIsReportedOnce();
    void closeIsHarmlessAndPlayNeedsAnOpenFile();
};

void TestLinuxSoundPlayer::readsWaveHeaders_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("plain"); // false: left to the media backend
    QTest::addColumn<WavFormat::Sample>("sample");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("rate");
    QTest::addColumn<qint64>("offset");
    QTest::addColumn<qint64>("size");
    using S = WavFormat::Sample;
    const QByteArray samples(400, '\x11');
    QTest::newRow("16-bit mono") << riff(chunk("fmt ", fmt(1, 1, 22050, 16)) + chunk("data", samples)) << true
                                 << S::Int16 << 1 << 22050 << qint64(44) << qint64(400);
    QTest::newRow("8-bit stereo") << riff(chunk("fmt ", fmt(1, 2, 8000, 8)) + chunk("data", samples)) << true
                                  << S::UInt8 << 2 << 8000 << qint64(44) << qint64(400);
    QTest::newRow("32-bit integers") << riff(chunk("fmt ", fmt(1, 2, 48000, 32)) + chunk("data", samples)) << true
                                     << S::Int32 << 2 << 48000 << qint64(44) << qint64(400);
    QTest::newRow("32-bit float") << riff(chunk("fmt ", fmt(3, 1, 44100, 32)) + chunk("data", samples)) << true
                                  << S::Float32 << 1 << 44100 << qint64(44) << qint64(400);
    QTest::newRow("extensible PCM") << riff(chunk("fmt ", extensible(2, 44100, 16, 16, 1)) + chunk("data", samples))
                                    << true << S::Int16 << 2 << 44100 << qint64(68) << qint64(400);
    QTest::newRow("extensible float") << riff(chunk("fmt ", extensible(1, 44100, 32, 32, 3)) + chunk("data", samples))
                                      << true << S::Float32 << 1 << 44100 << qint64(68) << qint64(400);
    QTest::newRow("odd chunk before the samples is padded")
        << riff(chunk("fmt ", fmt(1, 1, 22050, 16)) + chunk("LIST", "abc") + chunk("data", samples)) << true << S::Int16
        << 1 << 22050 << qint64(56) << qint64(400);
    QTest::newRow("samples cut short: whole frames the file holds")
        << riff(chunk("fmt ", fmt(1, 2, 22050, 16)) + chunk("data", samples.left(399), 100000)) << true << S::Int16 << 2
        << 22050 << qint64(44) << qint64(396);
    const S none = S::Int16;
    QTest::newRow("24-bit") << riff(chunk("fmt ", fmt(1, 2, 44100, 24)) + chunk("data", samples)) << false << none << 0
                            << 0 << qint64(0) << qint64(0);
    QTest::newRow("compressed (ADPCM)") << riff(chunk("fmt ", fmt(2, 1, 22050, 4, 256)) + chunk("data", samples))
                                        << false << none << 0 << 0 << qint64(0) << qint64(0);
    QTest::newRow("extensible with padding bits")
        << riff(chunk("fmt ", extensible(2, 44100, 32, 24, 1)) + chunk("data", samples)) << false << none << 0 << 0
        << qint64(0) << qint64(0);
    QTest::newRow("block size that does not fit the channels")
        << riff(chunk("fmt ", fmt(1, 2, 22050, 16, 2)) + chunk("data", samples)) << false << none << 0 << 0 << qint64(0)
        << qint64(0);
    QTest::newRow("samples before the format") << riff(chunk("data", samples) + chunk("fmt ", fmt(1, 1, 22050, 16)))
                                               << false << none << 0 << 0 << qint64(0) << qint64(0);
    QTest::newRow("no samples chunk") << riff(chunk("fmt ", fmt(1, 1, 22050, 16))) << false << none << 0 << 0
                                      << qint64(0) << qint64(0);
    QTest::newRow("damaged header (junk)") << QByteArray("RIFF\x10\0\0\0WAVEjunk", 16) + QByteArray(4000, '\x7f')
                                           << false << none << 0 << 0 << qint64(0) << qint64(0);
    QTest::newRow("a MIDI file") << QByteArray("MThd\0\0\0\x06\0\0\0\x01\x01\xe0") << false << none << 0 << 0
                                 << qint64(0) << qint64(0);
}

void TestLinuxSoundPlayer::readsWaveHeaders()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, plain);
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    const std::optional<WavFormat> format = WavFile::readHeader(buffer);
    QCOMPARE(format.has_value(), plain);
    if (!plain)
        return;
    QFETCH(WavFormat::Sample, sample);
    QFETCH(int, channels);
    QFETCH(int, rate);
    QFETCH(qint64, offset);
    QFETCH(qint64, size);
    QCOMPARE(format->sample, sample);
    QCOMPARE(format->channels, channels);
    QCOMPARE(format->sampleRate, rate);
    QCOMPARE(format->dataOffset, offset);
    QCOMPARE(format->dataSize, size);
    QCOMPARE(file.mid(offset, 4), QByteArray(4, '\x11'));
}

void TestLinuxSoundPlayer::waveNeedsNoMediaBackend()
{
    // The hourly chime must not bring the media backend (GStreamer and its plugins) into the process; a MIDI tune
    // does.
    auto mediaBackendLoaded = [] {
        QFile maps(QStringLiteral("/proc/self/maps"));
        return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libgstreamer-1.0");
    };
    QVERIFY(!mediaBackendLoaded());
    TestEnvironment env;
    LinuxSoundPlayer player;
    for (const char* wave : { "clocker.wav", "call.wav", "clocker1.wav" }) {
        player.setFileName(QStringLiteral(VANTREL_SOURCE_DIR "/share/sound/") + QString::fromLatin1(wave));
        player.open();
        player.play();
        QVERIFY(player.waitUntilIdle(5000));
    }
    QTest::qWait(500);
    player.close();
    QVERIFY(player.waitUntilIdle(5000));
    QVERIFY2(!mediaBackendLoaded(), "a wave file started the media backend");

    player.setFileName(QStringLiteral(VANTREL_SOURCE_DIR "/share/sound/致爱丽丝.mid"));
    player.open();
    player.play();
    QVERIFY(player.waitUntilIdle(10000));
    QTRY_VERIFY_WITH_TIMEOUT(mediaBackendLoaded(), 10000);
    player.close();
    QVERIFY2(env.errors.isEmpty(), qPrintable(env.errors.join(QLatin1Char('\n'))));
}

void TestLinuxSoundPlayer::openRefusesAtOnce_data()
{
    QTest::addColumn<QString>("relative");
    QTest::newRow("missing file") << QStringLiteral("sound/没有.wav");
    QTest::newRow("a folder") << QStringLiteral("sound");
    QTest::newRow("no name") << QString();
}

void TestLinuxSoundPlayer::openRefusesAtOnce()
{
    QFETCH(QString, relative);
    TestEnvironment env;
    LinuxSoundPlayer player;
    const QString name = relative.isEmpty() ? QString() : env.path(relative);
    player.setFileName(name);
    try {
        player.open();
        QFAIL("open did not refuse");
    } catch (const AppError& error) {
        QVERIFY(error.text().startsWith(QStringLiteral("无法打开声音文件")));
        QVERIFY(error.text().contains(QDir::toNativeSeparators(name)));
    }
    QTest::qWait(300);
    QVERIFY(env.errors.isEmpty());
}

void TestLinuxSoundPlayer::playsWaveAndMidiWithoutError_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("wave") << QStringLiteral("clocker.wav");
    QTest::newRow("midi") << QStringLiteral("致爱丽丝.mid");
}

void TestLinuxSoundPlayer::playsWaveAndMidiWithoutError()
{
    QFETCH(QString, file);
    TestEnvironment env;
    LinuxSoundPlayer player;
    player.setFileName(QStringLiteral(VANTREL_SOURCE_DIR "/share/sound/") + file);
    player.open();
    player.play();
    QTest::qWait(1500);
    player.stop();
    player.play();
    QTest::qWait(300);
    player.close();
    QVERIFY2(env.errors.isEmpty(), qPrintable(env.errors.join(QLatin1Char('\n'))));
}

void TestLinuxSoundPlayer::laterBackendErrorIsReportedOnce()
{
    TestEnvironment env;
    env.writeFile(QStringLiteral("sound/坏的.wav"),
                  QByteArray("RIFF\x10\0\0\0WAVEjunk", 16) + QByteArray(4000, '\x7f'));
    LinuxSoundPlayer player;
    player.setFileName(env.path(QStringLiteral("sound/坏的.wav")));
    player.open(); // the file is there; only the backend finds it unplayable
    player.play();
    QTRY_VERIFY_WITH_TIMEOUT(!env.errors.isEmpty(), 5000);
    QTest::qWait(1000);
    QCOMPARE(env.errors.size(), 1);
    QVERIFY(env.errors.first().contains(QStringLiteral("坏的.wav")));

    // The next open is a new file and may be reported again.
    player.open();
    player.play();
    QTRY_COMPARE_WITH_TIMEOUT(env.errors.size(), 2, 5000);
}

void TestLinuxSoundPlayer::closeIsHarmlessAndPlayNeedsAnOpenFile()
{
    TestEnvironment env;
    const int threadsBefore = soundThreads();
    LinuxSoundPlayer player;
    player.close();
    player.stop();
    QVERIFY_THROWS_EXCEPTION(AppError, player.play());
    player.setFileName(QStringLiteral(VANTREL_SOURCE_DIR "/share/sound/没有.wav"));
    QVERIFY_THROWS_EXCEPTION(AppError, player.open());
    QVERIFY(player.waitUntilIdle(5000));
    // A player that has played nothing yet holds no thread: the program keeps several idle from start-up.
    QCOMPARE(soundThreads(), threadsBefore);
    player.setFileName(QStringLiteral(VANTREL_SOURCE_DIR "/share/sound/call.wav"));
    player.open();
    QVERIFY(player.waitUntilIdle(5000));
    QCOMPARE(soundThreads(), threadsBefore + 1);
    player.close();
    QVERIFY_THROWS_EXCEPTION(AppError, player.play());
    QVERIFY(env.errors.isEmpty());
}

QTEST_MAIN(TestLinuxSoundPlayer)
#include "TestLinuxSoundPlayer.moc"
