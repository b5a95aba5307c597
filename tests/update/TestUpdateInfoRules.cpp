#include "fakes/TestEnvironment.h"
#include "update/TAppUpdater.h"
#include "update/VersionRules.h"

#include <QTest>

namespace {
/// The addresses of a download list, in order.
QStringList urls(const QList<TDownloadEntry>& entries)
{
    QStringList list;
    for (const TDownloadEntry& entry : entries)
        list << entry.URL;
    return list;
}
} // namespace

/// The information file and version rules that decide whether an update is offered.
class TestUpdateInfoRules : public QObject
{
    Q_OBJECT

private slots:
    void compareVersions_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("result");
        auto row = [](const char* a, const char* b, int result) {
            QTest::addRow("%s vs %s", a, b) << QString::fromLatin1(a) << QString::fromLatin1(b) << result;
        };
        row("2.10", "2.9", 1);
        row("10", "9", 1); // numbers, not texts
        row("2.3", "2.3.0.0", 0);
        row("2.03", "2.3", 0);
        row("2.3.0.0.9", "2.3", 0); // a fifth part is ignored
        row("2.2.9", "2.3", -1);
        row("2.3.1", "2.3", 1);
        row("-1", "0", -1);
        // A part that is no whole number compares the whole texts byte by byte.
        row("2.4b", "2.3", 1);
        row("2.4b", "2.5", -1);
        row("2.3b", "2.3", 1); // the longer text, when the other is its start, is the larger
        row("2.4 ", "2.3", 1);
        row("", "2.3", -1);
        row("2..3", "2.0.3", -1);
        row("abc", "abc", 0);
    }

    void compareVersions()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, result);
        QCOMPARE(int(CompareVersions(a, b)), result);
        QCOMPARE(int(CompareVersions(b, a)), -result);
    }

    void getInfoValue_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("braced");
        QTest::addColumn<QString>("value");

        QTest::newRow("marker in any case, value as written")
            << QByteArray("#Version=2.4B\r\n") << QStringLiteral("version") << false << QStringLiteral("2.4B");
        QTest::newRow("tab ends the value")
            << QByteArray("#version=2.4\t# comment\n") << QStringLiteral("version") << false << QStringLiteral("2.4");
        QTest::newRow("trailing blank belongs to it")
            << QByteArray("#version=2.4 \r\n") << QStringLiteral("version") << false << QStringLiteral("2.4 ");
        QTest::newRow("value at the end of the file")
            << QByteArray("x #date=09/01/2004") << QStringLiteral("date") << false << QStringLiteral("09/01/2004");
        QTest::newRow("missing") << QByteArray("#versio=2.4\n") << QStringLiteral("version") << false
                                 << QStringLiteral("");
        QTest::newRow("first occurrence counts")
            << QByteArray("#url=a\n#url=b\n") << QStringLiteral("url") << false << QStringLiteral("a");
        QTest::newRow("even inside another value") << QByteArray("#message={see #version=9.9}\n#version=2.4\n")
                                                   << QStringLiteral("version") << false << QStringLiteral("9.9}");
        QTest::newRow("braced keeps line breaks")
            << QByteArray("#message={line one\r\nline two}\n#method=0") << QStringLiteral("message") << true
            << QStringLiteral("line one\r\nline two");
        QTest::newRow("braced without closing brace runs to the end")
            << QByteArray("#message={line one\r\nline two\r\n") << QStringLiteral("message") << true
            << QStringLiteral("line one\r\nline two\r\n");
        QTest::newRow("braced marker needs the brace")
            << QByteArray("#message=plain\n") << QStringLiteral("message") << true << QStringLiteral("");
        QTest::newRow("UTF-8 text") << QByteArray("#message={修复}") << QStringLiteral("message") << true
                                    << QStringLiteral("修复");
        QTest::newRow("GBK text") << QByteArray("#message={\xd0\xc2}") << QStringLiteral("message") << true
                                  << QStringLiteral("新");
    }

    void getInfoValue()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, key);
        QFETCH(bool, braced);
        QFETCH(QString, value);
        QCOMPARE(TAppUpdater::GetInfoValue(file, key, braced), value);
    }

    void downloadList_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("list");
        auto list = [](const char* words) {
            return words[0] ? QString::fromLatin1(words).split(QLatin1Char(' ')) : QStringList();
        };
        QTest::newRow("url and url1: numbering starts at url2") << QByteArray("#url=a\n#url1=b\n") << list("a");
        QTest::newRow("url, url2, url3") << QByteArray("#url3=c\n#url=a\n#url2=b\n") << list("a b c");
        QTest::newRow("only url1 and url2") << QByteArray("#url1=a\n#url2=b\n") << list("a b");
        QTest::newRow("url, url0, url3") << QByteArray("#url=a\n#url0=b\n#url3=c\n") << list("a b c");
        QTest::newRow("a gap ends the list") << QByteArray("#url=a\n#url2=b\n#url4=d\n") << list("a b");
        QTest::newRow("an empty value ends it too") << QByteArray("#url=a\n#url2=\n#url3=c\n") << list("a");
        QTest::newRow("none") << QByteArray("#version=2.4\n") << list("");
    }

    void downloadList()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, list);
        QCOMPARE(urls(TAppUpdater::ReadDownloadEntries(file)), list);
    }

    void downloadEntries_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArrayList>("entries"); // "url size sha256", size -1 and "-" when not valid

        const QByteArray hash(64, 'a');
        const QByteArray HASH(64, 'A');
        QTest::newRow("keys follow the address numbering")
            << QByteArray("#url=a\n#size=1\n#sha256=" + hash + "\n#url0=b\n#size0=22\n#sha2560=" + hash
                          + "\n#url3=c\n#size3=333\n#sha2563=" + hash + "\n")
            << QByteArrayList{ "a 1 " + hash, "b 22 " + hash, "c 333 " + hash };
        QTest::newRow("hash in capitals is read in lower case")
            << QByteArray("#URL=a\n#SIZE=0\n#SHA256=" + HASH + "\n") << QByteArrayList{ "a 0 " + hash };
        QTest::newRow("missing size and hash") << QByteArray("#url=a\n") << QByteArrayList{ "a -1 -" };
        QTest::newRow("another entry's keys do not count")
            << QByteArray("#url=a\n#url0=b\n#size0=5\n#sha2560=" + hash + "\n")
            << QByteArrayList{ "a -1 -", "b 5 " + hash };
        QTest::newRow("size not a plain number")
            << QByteArray("#url=a\n#size=-5\n#sha256=" + hash + "\n") << QByteArrayList{ "a -1 " + hash };
        QTest::newRow("size with a blank")
            << QByteArray("#url=a\n#size=5 \n#sha256=" + hash + "\n") << QByteArrayList{ "a -1 " + hash };
        QTest::newRow("hash too short") << QByteArray("#url=a\n#size=5\n#sha256=" + hash.left(63) + "\n")
                                        << QByteArrayList{ "a 5 -" };
        QTest::newRow("hash not hexadecimal")
            << QByteArray("#url=a\n#size=5\n#sha256=" + QByteArray(64, 'g') + "\n") << QByteArrayList{ "a 5 -" };
        QTest::newRow("first marker counts")
            << QByteArray("#url=a\n#size=7\n#size=8\n#sha256=" + hash + "\n") << QByteArrayList{ "a 7 " + hash };
    }

    void downloadEntries()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArrayList, entries);
        QByteArrayList read;
        for (const TDownloadEntry& entry : TAppUpdater::ReadDownloadEntries(file))
            read << entry.URL.toLatin1() + ' ' + QByteArray::number(entry.Size) + ' '
                    + (entry.Sha256.isEmpty() ? QByteArray("-") : entry.Sha256);
        QCOMPARE(read, entries);
    }

    void longDownloadList()
    {
        // A list of some 400 KB is read whole and in order; the text is scanned once, not once per entry.
        QByteArray file = "#url=f0\n#url0=f1\n";
        for (int n = 3; n < 12000; ++n)
            file += "#url" + QByteArray::number(n) + "=f" + QByteArray::number(n - 1) + "\n";
        QVERIFY(file.size() > 150000);
        file += QByteArray(250000, ' ');
        const QStringList list = urls(TAppUpdater::ReadDownloadEntries(file));
        QCOMPARE(list.size(), 11999);
        QCOMPARE(list.first(), QStringLiteral("f0"));
        QCOMPARE(list.last(), QStringLiteral("f11998"));
    }

    void isUpdateNewer_data()
    {
        QTest::addColumn<int>("control");
        QTest::addColumn<QString>("running"); // VersionNumber or VersionDate
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("newer");

        auto byNum = [](const char* name, const char* file, bool newer) {
            QTest::newRow(name) << int(byNumber) << QStringLiteral("2.3") << QByteArray(file) << newer;
        };
        byNum("2.4", "#version=2.4\n", true);
        byNum("2.3.1", "#version=2.3.1\n", true);
        byNum("2.10", "#version=2.10\n", true);
        byNum("2.3", "#version=2.3\n", false);
        byNum("2.3.0", "#version=2.3.0\n", false);
        byNum("2.2.9", "#version=2.2.9\n", false);
        byNum("Version in capitals", "#Version=2.4\r\n", true);
        byNum("comment after a tab", "#version=2.4\t; the next one\n", true);
        byNum("missing version", "#date=09/01/2030\n", false);
        byNum("date ignored by number", "#version=2.3\n#date=09/01/2030\n", false);

        auto byDay = [](const char* name, const char* running, const char* file, bool newer) {
            QTest::newRow(name) << int(byDate) << QString::fromLatin1(running) << QByteArray(file) << newer;
        };
        byDay("later date", "08/18/2004", "#date=09/01/2004\n", true);
        byDay("same day", "08/18/2004", "#date=08/18/2004\n", false);
        byDay("earlier date", "08/18/2004", "#date=01/01/2004\n", false);
        // An unreadable date would count as today, so any old signed file with a damaged date would pass for new.
        byDay("unreadable date is never newer", "08/18/2004", "#date=soon\n", false);
        byDay("invalid day is never newer", "08/18/2004", "#date=02/30/2030\n", false);
        byDay("version ignored by date", "08/18/2004", "#version=9.9\n#date=08/18/2004\n", false);
    }

    void isUpdateNewer()
    {
        QFETCH(int, control);
        QFETCH(QString, running);
        QFETCH(QByteArray, file);
        QFETCH(bool, newer);
        TestEnvironment env; // today is 12/10/2026
        TAppUpdater updater;
        updater.setVersionControl(TAppUpdaterVersionControl(control));
        updater.setVersionNumber(running);
        updater.setVersionDate(running);
        QCOMPARE(updater.IsUpdateNewer(file), newer);
    }

    void parseVersionDate_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        const QDate today(2026, 12, 10);
        QTest::newRow("MM/DD/YYYY") << QStringLiteral("09/01/2004") << QDate(2004, 9, 1);
        QTest::newRow("single digits") << QStringLiteral("9/1/2004") << QDate(2004, 9, 1);
        QTest::newRow("month 13") << QStringLiteral("13/01/2004") << today;
        QTest::newRow("February 30") << QStringLiteral("02/30/2004") << today;
        QTest::newRow("day first") << QStringLiteral("18/08/2004") << today;
        QTest::newRow("dashes") << QStringLiteral("09-01-2004") << today;
        QTest::newRow("empty") << QString() << today;
    }

    void parseVersionDate()
    {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        TestEnvironment env;
        QCOMPARE(ParseVersionDate(text), date);
    }
};

QTEST_GUILESS_MAIN(TestUpdateInfoRules)
#include "TestUpdateInfoRules.moc"
