#include "FileSizeLimit.h"
#include "platform/AppError.h"
#include "storage/SettingsFile.h"
#include "text/Gbk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestSettingsFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void missingFileGivesDefaults();
    void integers_data();
    void integers();
    void handEditedFileIsRead();
    void writeChangesOnlyItsOwnLine_data();
    void writeChangesOnlyItsOwnLine();
    void firstWriteCreatesTheFile();
    void dateTimes_data();
    void dateTimes();
    void failedWriteLeavesOldFileIntact();
    void unreadableFileIsNeverReplaced();
    void problemsAreNamed_data();
    void problemsAreNamed();

private:
    QString path() const { return m_dir->filePath(QStringLiteral("helper.ini")); }
    void write(const QByteArray& bytes) const
    {
        QFile f(path());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray read() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSettingsFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestSettingsFile::missingFileGivesDefaults()
{
    SettingsFile settings(path());
    QCOMPARE(settings.readInteger(QStringLiteral("system"), QStringLiteral("show"), 1), 1);
    QCOMPARE(settings.readString(QStringLiteral("halt"), QStringLiteral("time"), QStringLiteral("x")),
             QStringLiteral("x"));
    QVERIFY(settings.problem().isEmpty());
    QVERIFY(!QFile::exists(path()));
}

void TestSettingsFile::integers_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("expected");
    QTest::newRow("decimal") << QByteArray("2") << 2;
    QTest::newRow("negative") << QByteArray("-1") << -1;
    QTest::newRow("blanks around") << QByteArray("  7  ") << 7;
    QTest::newRow("hex 0x") << QByteArray("0x1F") << 31;
    QTest::newRow("hex upper 0X") << QByteArray("0X10") << 16;
    QTest::newRow("hex dollar") << QByteArray("$ff") << 255;
    QTest::newRow("word") << QByteArray("yes") << 42;
    QTest::newRow("number then word") << QByteArray("1abc") << 42;
    QTest::newRow("empty") << QByteArray("") << 42;
    QTest::newRow("bare 0x") << QByteArray("0x") << 42;
    QTest::newRow("decimal point") << QByteArray("1.5") << 42;
    QTest::newRow("too large") << QByteArray("99999999999") << 42;
}

void TestSettingsFile::integers()
{
    QFETCH(QByteArray, stored);
    QFETCH(int, expected);
    write("[system]\r\nhide=" + stored + "\r\n");
    QCOMPARE(SettingsFile(path()).readInteger(QStringLiteral("system"), QStringLiteral("hide"), 42), expected);
}

void TestSettingsFile::handEditedFileIsRead()
{
    // Comments, blank lines, any key order, mixed case, LF line ends and GBK text, as a person leaves the file.
    write("; Vantrel settings\n\n[HALT]\ntime=13:30:00\n# the plan\n\n[System]\n  Skin = 3 \nshow=0\n"
          + Gbk::encode(QStringLiteral("note=中文说明")) + "\n[other]\nshow=1\n");
    SettingsFile s(path());
    QCOMPARE(s.readInteger(QStringLiteral("system"), QStringLiteral("skin"), 0), 3);
    QCOMPARE(s.readInteger(QStringLiteral("system"), QStringLiteral("show"), 1), 0);
    QCOMPARE(s.readString(QStringLiteral("system"), QStringLiteral("note"), QString()), QStringLiteral("中文说明"));
    QCOMPARE(s.readString(QStringLiteral("halt"), QStringLiteral("time"), QString()), QStringLiteral("13:30:00"));
    QCOMPARE(s.readInteger(QStringLiteral("system"), QStringLiteral("hide"), 9), 9);
    QVERIFY(s.problem().isEmpty());
}

void TestSettingsFile::writeChangesOnlyItsOwnLine_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("after");

    const QByteArray crlf = "; kept\r\n[system]\r\nshow=1\r\n\r\n[halt]\r\nremain=1\r\n";
    QTest::newRow("replace, CR LF") << crlf << "system"
                                    << "show"
                                    << QByteArray("; kept\r\n[system]\r\nshow=0\r\n\r\n[halt]\r\nremain=1\r\n");
    QTest::newRow("new key goes to the end of its section")
        << crlf << "system"
        << "hide" << QByteArray("; kept\r\n[system]\r\nshow=1\r\nhide=0\r\n\r\n[halt]\r\nremain=1\r\n");
    QTest::newRow("new section at the end, LF kept") << QByteArray("[system]\nshow=1\n") << "halt"
                                                     << "remain" << QByteArray("[system]\nshow=1\n[halt]\nremain=0\n");
    QTest::newRow("no line end on the last line") << QByteArray("[system]\nshow=1") << "system"
                                                  << "clock" << QByteArray("[system]\nshow=1\nclock=0\n");
    // The file's first line end is a lone CR; put after "remain=1" it would make one CR LF with the empty line's LF.
    QTest::newRow("mixed line ends keep an empty line")
        << QByteArray("; note\r[halt]\nremain=1\n\n[system]\rshow=1\r") << "halt"
        << "date" << QByteArray("; note\r[halt]\nremain=1\ndate=0\n\n[system]\rshow=1\r");
    QTest::newRow("key matched without regard to case") << QByteArray("[SYSTEM]\r\nSHOW = 1 ; x\r\n") << "system"
                                                        << "show" << QByteArray("[SYSTEM]\r\nshow=0\r\n");
}

void TestSettingsFile::writeChangesOnlyItsOwnLine()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QByteArray, after);
    write(before);
    SettingsFile(path()).writeInteger(section, key, 0);
    QCOMPARE(read(), after);
}

void TestSettingsFile::firstWriteCreatesTheFile()
{
    SettingsFile s(path());
    s.writeInteger(QStringLiteral("system"), QStringLiteral("autostart"), 1);
    s.writeString(QStringLiteral("halt"), QStringLiteral("date"), QStringLiteral("2026-12-10"));
    QCOMPARE(read(), QByteArray("[system]\r\nautostart=1\r\n[halt]\r\ndate=2026-12-10\r\n"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{ QStringLiteral("helper.ini") });
}

void TestSettingsFile::dateTimes_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QDateTime>("expected");
    const QDateTime fallback(QDate(2000, 1, 1), QTime(0, 0));
    QTest::newRow("short date") << QByteArray("2026-12-10") << QDateTime(QDate(2026, 12, 10), QTime(0, 0));
    QTest::newRow("long time") << QByteArray("9:05:00") << QDateTime(QDate(1899, 12, 30), QTime(9, 5));
    QTest::newRow("both") << QByteArray("2026-1-2 23:59:59") << QDateTime(QDate(2026, 1, 2), QTime(23, 59, 59));
    QTest::newRow("garbage") << QByteArray("soon") << fallback;
    QTest::newRow("impossible date") << QByteArray("2026-2-30") << fallback;
}

void TestSettingsFile::dateTimes()
{
    QFETCH(QByteArray, stored);
    QFETCH(QDateTime, expected);
    write("[halt]\r\nwhen=" + stored + "\r\n");
    QCOMPARE(SettingsFile(path()).readDateTime(QStringLiteral("halt"), QStringLiteral("when"),
                                               QDateTime(QDate(2000, 1, 1), QTime(0, 0))),
             expected);
}

void TestSettingsFile::failedWriteLeavesOldFileIntact()
{
    const QByteArray before = "[system]\r\nshow=1\r\n";
    write(before);
    SettingsFile s(path());
    {
        // A file size limit makes the write fail even for root.
        FileSizeLimit noRoom(0);
        QVERIFY_THROWS_EXCEPTION(AppError, s.writeInteger(QStringLiteral("system"), QStringLiteral("show"), 0));
    }
    QCOMPARE(read(), before);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{ QStringLiteral("helper.ini") });
    QCOMPARE(s.readInteger(QStringLiteral("system"), QStringLiteral("show"), 7), 1);
}

void TestSettingsFile::unreadableFileIsNeverReplaced()
{
    // A helper.ini that is a folder reads as defaults, and a write refuses rather than replacing what it cannot read.
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("helper.ini")));
    SettingsFile s(path());
    QCOMPARE(s.readInteger(QStringLiteral("system"), QStringLiteral("show"), 1), 1);
    QVERIFY(!s.problem().isEmpty());
    QVERIFY_THROWS_EXCEPTION(AppError, s.writeInteger(QStringLiteral("system"), QStringLiteral("show"), 0));
    QVERIFY(QFileInfo(path()).isDir());
}

void TestSettingsFile::problemsAreNamed_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("broken");
    QTest::newRow("sound") << QByteArray("[system]\r\nshow=1\r\n; note\r\n") << false;
    QTest::newRow("binary") << QByteArray("\x00\x01\x02[system]\x00", 9) << true;
    QTest::newRow("stray line") << QByteArray("[system]\r\nthis line means nothing\r\n") << true;
    QTest::newRow("bad GBK") << QByteArray("[system]\r\nx=\x81\r\n") << true;
}

void TestSettingsFile::problemsAreNamed()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, broken);
    write(content);
    SettingsFile s(path());
    QCOMPARE(!s.problem().isEmpty(), broken);
    // What cannot be read gives the default, and a write keeps every other byte of a damaged file.
    QCOMPARE(s.readInteger(QStringLiteral("system"), QStringLiteral("hide"), 5), 5);
    s.writeInteger(QStringLiteral("system"), QStringLiteral("hide"), 1);
    QVERIFY(read().startsWith(content.left(content.indexOf("[system]") >= 0 ? content.indexOf("[system]") : 0)));
    QCOMPARE(s.readInteger(QStringLiteral("system"), QStringLiteral("hide"), 5), 1);
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "TestSettingsFile.moc"
