#include "fakes/TestEnvironment.h"
#include "platform/AppPaths.h"
#include "reminders/SoundCatalogue.h"

#include <QFile>
#include <QTest>

class TestSoundCatalogue : public QObject
{
    Q_OBJECT
private slots:
    void namesInEditorOrder();
    void resolvesStoredValues_data();
    void resolvesStoredValues();
    void previewFiles_data();
    void previewFiles();
    void programFolderShipsEverySound_data();
    void programFolderShipsEverySound();
};

void TestSoundCatalogue::namesInEditorOrder()
{
    QCOMPARE(
        SoundCatalogue::names(),
        (QStringList{ QStringLiteral("小闹钟"), QStringLiteral("小汽车"), QStringLiteral("致爱丽丝"),
                      QStringLiteral("爱的罗曼斯"), QStringLiteral("爱我的人和我爱的人"), QStringLiteral("加州旅馆"),
                      QStringLiteral("卡桑布兰卡"), QStringLiteral("天鹅湖"), QStringLiteral("月亮代表我的心") }));
}

void TestSoundCatalogue::resolvesStoredValues_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("relativeToSoundDir"); ///< the expected file inside sound/, if any
    QTest::addColumn<QString>("unchanged"); ///< otherwise the expected value as it is

    QTest::newRow("小闹钟") << QStringLiteral("小闹钟") << QStringLiteral("clocker.wav") << QString();
    QTest::newRow("小汽车") << QStringLiteral("小汽车") << QStringLiteral("call.wav") << QString();
    for (const QString& tune :
         { QStringLiteral("致爱丽丝"), QStringLiteral("爱的罗曼斯"), QStringLiteral("爱我的人和我爱的人"),
           QStringLiteral("加州旅馆"), QStringLiteral("卡桑布兰卡"), QStringLiteral("天鹅湖"),
           QStringLiteral("月亮代表我的心") })
        QTest::newRow(tune.toUtf8()) << tune << tune + QStringLiteral(".mid") << QString();
    QTest::newRow("empty is silence") << QString() << QString() << QString();
    QTest::newRow("full path") << QStringLiteral("/home/me/铃声.wav") << QString()
                               << QStringLiteral("/home/me/铃声.wav");
    QTest::newRow("near a name is a path") << QStringLiteral("天鹅湖 ") << QString() << QStringLiteral("天鹅湖 ");
    QTest::newRow("a file name is a path")
        << QStringLiteral("clocker.wav") << QString() << QStringLiteral("clocker.wav");
}

void TestSoundCatalogue::resolvesStoredValues()
{
    QFETCH(QString, value);
    QFETCH(QString, relativeToSoundDir);
    QFETCH(QString, unchanged);
    TestEnvironment env;
    const QString expected
        = relativeToSoundDir.isEmpty() ? unchanged : env.path(QStringLiteral("sound/")) + relativeToSoundDir;
    QCOMPARE(SoundCatalogue::resolve(value), expected);
}

void TestSoundCatalogue::previewFiles_data()
{
    QTest::addColumn<QString>("picked");
    QTest::addColumn<QString>("file");
    QTest::newRow("alarm clock") << QStringLiteral("小闹钟") << QStringLiteral("clocker.wav");
    QTest::newRow("car") << QStringLiteral("小汽车") << QStringLiteral("call.wav");
    QTest::newRow("tune") << QStringLiteral("天鹅湖") << QStringLiteral("天鹅湖.mid");
    QTest::newRow("typed text") << QStringLiteral("别的") << QStringLiteral("别的.mid");
}

void TestSoundCatalogue::previewFiles()
{
    QFETCH(QString, picked);
    QFETCH(QString, file);
    TestEnvironment env;
    QCOMPARE(SoundCatalogue::previewFile(picked), env.path(QStringLiteral("sound/")) + file);
}

void TestSoundCatalogue::programFolderShipsEverySound_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("magic");
    for (const SoundCatalogue::Entry& entry : SoundCatalogue::entries())
        QTest::newRow(entry.file.toUtf8())
            << entry.file << QByteArray(entry.file.endsWith(QStringLiteral(".wav")) ? "RIFF" : "MThd");
    QTest::newRow("hourly chime") << QStringLiteral("clocker1.wav") << QByteArray("RIFF");
}

void TestSoundCatalogue::programFolderShipsEverySound()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, magic);
    QFile sound(QStringLiteral(VANTREL_APP_DIR "/sound/") + file);
    QVERIFY2(sound.open(QIODevice::ReadOnly), qPrintable(sound.fileName()));
    const QByteArray bytes = sound.readAll();
    QVERIFY(bytes.startsWith(magic));
    QVERIFY(bytes.size() > 200);
}

QTEST_GUILESS_MAIN(TestSoundCatalogue)
#include "TestSoundCatalogue.moc"
