#include "fakes/TestEnvironment.h"
#include "platform/AppError.h"
#include "platform/linux/LinuxSoundPlayer.h"

#include <QDir>
#include <QTest>

// The real player on the media backend. No audio device is needed: the backend plays into a dummy sink.
class TestLinuxSoundPlayer : public QObject
{
    Q_OBJECT
private slots:
    void openRefusesAtOnce_data();
    void openRefusesAtOnce();
    void playsWaveAndMidiWithoutError_data();
    void playsWaveAndMidiWithoutError();
    void laterBackendErrorIsReportedOnce();
    void closeIsHarmlessAndPlayNeedsAnOpenFile();
};

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
    LinuxSoundPlayer player;
    player.close();
    player.stop();
    QVERIFY_THROWS_EXCEPTION(AppError, player.play());
    player.setFileName(QStringLiteral(VANTREL_SOURCE_DIR "/share/sound/call.wav"));
    player.open();
    player.close();
    QVERIFY_THROWS_EXCEPTION(AppError, player.play());
    QVERIFY(env.errors.isEmpty());
}

QTEST_MAIN(TestLinuxSoundPlayer)
#include "TestLinuxSoundPlayer.moc"
