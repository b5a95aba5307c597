#include "fakes/FileSizeLimit.h"
#include "fakes/TestEnvironment.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "reminders/PhraseFile.h"
#include "text/Gbk.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

class TestPhraseFile : public QObject
{
    Q_OBJECT
private slots:
    void parsesEveryLineEnding_data();
    void parsesEveryLineEnding();
    void writesGb18030WithCrLf_data();
    void writesGb18030WithCrLf();
    void missingFileIsNoList();
    void failedWriteKeepsOldFile();
    void unwritablePathRaisesFileError();
};

void TestPhraseFile::parsesEveryLineEnding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("phrases");

    const QByteArray meeting = Gbk::encode(QStringLiteral("开会"));
    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{ u"a"_s, u"b"_s };
    QTest::newRow("lone cr") << QByteArray("a\rb\r") << QStringList{ u"a"_s, u"b"_s };
    QTest::newRow("lone lf") << QByteArray("a\nb\n") << QStringList{ u"a"_s, u"b"_s };
    QTest::newRow("no final break") << QByteArray("a\r\nb") << QStringList{ u"a"_s, u"b"_s };
    QTest::newRow("mixed endings") << QByteArray("a\rb\nc\r\nd") << QStringList{ u"a"_s, u"b"_s, u"c"_s, u"d"_s };
    QTest::newRow("empty lines kept") << QByteArray("\r\na\r\n\r\n\nb\r\r\n")
                                      << QStringList{ u""_s, u"a"_s, u""_s, u""_s, u"b"_s, u""_s };
    QTest::newRow("lf cr is two breaks") << QByteArray("a\n\rb") << QStringList{ u"a"_s, u""_s, u"b"_s };
    QTest::newRow("gbk text") << (meeting + "\r\n" + meeting + "x\n") << QStringList{ u"开会"_s, u"开会x"_s };
}

void TestPhraseFile::parsesEveryLineEnding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, phrases);
    TestEnvironment env;
    env.writeFile(QStringLiteral("content.dat"), bytes);
    const auto read = PhraseFile::read();
    QVERIFY(read.has_value());
    QCOMPARE(*read, phrases);
}

void TestPhraseFile::writesGb18030WithCrLf_data()
{
    QTest::addColumn<QStringList>("phrases");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("none") << QStringList() << QByteArray();
    QTest::newRow("one empty phrase") << QStringList{ u""_s } << QByteArray("\r\n");
    QTest::newRow("gbk and empty") << QStringList{ u"喝水"_s, u""_s, u"x'y"_s }
                                   << QByteArray("\xba\xc8\xcb\xae\r\n\r\nx'y\r\n");
    // Nothing GBK lacks becomes "?": it keeps its own GB18030 code, and "€" its GBK byte.
    QTest::newRow("outside GBK") << QStringList{ u"한국어\U0001F600€"_s }
                                 << (QByteArray::fromHex("833684338237f4308332eb359439fc36") + "\x80\r\n");
}

void TestPhraseFile::writesGb18030WithCrLf()
{
    QFETCH(QStringList, phrases);
    QFETCH(QByteArray, bytes);
    TestEnvironment env;
    env.writeFile(QStringLiteral("content.dat"), "old\r\nlonger old text\r\n");
    PhraseFile::write(phrases);
    QCOMPARE(env.readFile(QStringLiteral("content.dat")), bytes);
    QCOMPARE(*PhraseFile::read(), phrases);
}

void TestPhraseFile::missingFileIsNoList()
{
    TestEnvironment env;
    QCOMPARE(PhraseFile::path(), env.path(QStringLiteral("content.dat")));
    QVERIFY(!PhraseFile::read().has_value());
}

void TestPhraseFile::failedWriteKeepsOldFile()
{
    TestEnvironment env;
    env.writeFile(QStringLiteral("content.dat"), "keep\r\n");
    {
        FileSizeLimit full(0); // the disk is full, for root as for anyone
        try {
            PhraseFile::write({ QStringLiteral("new") });
            QFAIL("the write was reported as done");
        } catch (const AppError& e) {
            QVERIFY(e.text().contains(QStringLiteral("content.dat")));
        }
    }
    QCOMPARE(env.readFile(QStringLiteral("content.dat")), QByteArray("keep\r\n"));
    QCOMPARE(QDir(env.appDir()).entryList(QDir::Files), QStringList{ QStringLiteral("content.dat") });
}

void TestPhraseFile::unwritablePathRaisesFileError()
{
    // A folder in the file's place defeats the write even for a privileged user.
    TestEnvironment env;
    QVERIFY(QDir(env.appDir()).mkdir(QStringLiteral("content.dat")));
    try {
        PhraseFile::write({ QStringLiteral("new") });
        QFAIL("the write was reported as done");
    } catch (const AppError& e) {
        QVERIFY(e.text().startsWith(env.path(QStringLiteral("content.dat"))));
    }
}

QTEST_GUILESS_MAIN(TestPhraseFile)
#include "TestPhraseFile.moc"
