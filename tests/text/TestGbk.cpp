#include "text/Gbk.h"
#include "widgets/GbkLineEdit.h"
#include "widgets/GbkTextEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QtTest>
#include <iconv.h>

class TestGbk : public QObject
{
    Q_OBJECT

private slots:
    void byteLengths_data();
    void byteLengths();
    void truncateNeverSplitsACharacter_data();
    void truncateNeverSplitsACharacter();
    void roundTrip();
    void encodes_data();
    void encodes();
    void everyGbkCharacterKeepsItsGbkBytes();
    void decodes_data();
    void decodes();
    void lineEditRefusesWhatDoesNotFit_data();
    void lineEditRefusesWhatDoesNotFit();
    void textEditCountsLineBreaksAsTwoBytes();
};

void TestGbk::byteLengths_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("crlf");
    QTest::addColumn<int>("bytes");
    QTest::newRow("ascii") << QStringLiteral("abc") << false << 3;
    QTest::newRow("chinese") << QStringLiteral("提醒") << false << 4;
    QTest::newRow("mixed") << QStringLiteral("a提b") << false << 4;
    QTest::newRow("line break as LF") << QStringLiteral("a\nb") << false << 3;
    QTest::newRow("line break as CR LF") << QStringLiteral("a\n提") << true << 5;
    QTest::newRow("outside GBK takes its four-byte code") << QStringLiteral("a\U0001F600") << false << 5;
    QTest::newRow("euro is one byte") << QStringLiteral("€") << false << 1;
}

void TestGbk::byteLengths()
{
    QFETCH(QString, text);
    QFETCH(bool, crlf);
    QFETCH(int, bytes);
    QCOMPARE(Gbk::byteLength(text, crlf), bytes);
}

void TestGbk::truncateNeverSplitsACharacter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("max");
    QTest::addColumn<QString>("expected");
    QTest::newRow("fits") << QStringLiteral("ab") << 5 << QStringLiteral("ab");
    QTest::newRow("cut before a half character") << QStringLiteral("a提醒") << 4 << QStringLiteral("a提");
    QTest::newRow("exact") << QStringLiteral("提醒") << 4 << QStringLiteral("提醒");
    QTest::newRow("line break needs two") << QStringLiteral("ab\ncd") << 3 << QStringLiteral("ab");
    QTest::newRow("never half a surrogate pair") << QStringLiteral("a\U0001F600") << 4 << QStringLiteral("a");
    QTest::newRow("letter and its accent go together") << QStringLiteral("ae\u0301") << 3 << QStringLiteral("a");
    QTest::newRow("flag is one character") << QStringLiteral("\U0001F1E8\U0001F1F3") << 7 << QString();
}

void TestGbk::truncateNeverSplitsACharacter()
{
    QFETCH(QString, text);
    QFETCH(int, max);
    QFETCH(QString, expected);
    QCOMPARE(Gbk::truncate(text, max, true), expected);
}

void TestGbk::roundTrip()
{
    const QString text = QStringLiteral("名片数据\t是否\r\n");
    const QByteArray bytes = Gbk::encode(text);
    QCOMPARE(bytes, QByteArray("\xc3\xfb\xc6\xac\xca\xfd\xbe\xdd\t\xca\xc7\xb7\xf1\r\n"));
    bool ok = false;
    QCOMPARE(Gbk::decode(bytes, &ok), text);
    QVERIFY(ok);
    Gbk::decode(QByteArray("\x81"), &ok);
    QVERIFY(!ok);
}

void TestGbk::encodes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("readBack");

    auto row = [](const char* name, const QString& text, const char* hex, const QString& readBack = QString()) {
        QTest::newRow(name) << text << QByteArray::fromHex(hex) << (readBack.isNull() ? text : readBack);
    };
    row("GBK symbols as GBK has them", QStringLiteral("·—～"), "a1a4a1aaa1ab");
    // Code page 936 and every GBK file the program wrote so far hold "€" as 0x80, not GB18030's A2 E3.
    row("euro as code page 936", QStringLiteral("€"), "80");
    row("Korean", QStringLiteral("한"), "83368433");
    row("emoji", QStringLiteral("\U0001F600"), "9439fc36");
    row("first and last four-byte codes", QStringLiteral("\u0080\U0010FFFF"), "81308130e3329a35");
    row("GBK's user area", QStringLiteral("\uE000"), "aaa1");
    row("vertical comma", QStringLiteral("\uFE10"), "a6d9");
    // A private stand-in that GB18030-2022 dropped keeps its 2005 code, which reads as the character it stood for.
    row("dropped private stand-in", QStringLiteral("\uE78D"), "a6d9", QStringLiteral("\uFE10"));
    row("half a surrogate pair", QString(QChar(0xD83D)), "8431a437", QStringLiteral("\uFFFD"));
}

void TestGbk::encodes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, readBack);
    const QString framed = QStringLiteral("a") + text + QStringLiteral("提");
    const QByteArray framedBytes = "a" + bytes + "\xcc\xe1";
    QCOMPARE(Gbk::encode(framed).toHex(), framedBytes.toHex());
    QCOMPARE(Gbk::byteLength(framed), int(framedBytes.size()));
    bool ok = false;
    QCOMPARE(Gbk::decode(framedBytes, &ok), QStringLiteral("a") + readBack + QStringLiteral("提"));
    QVERIFY(ok);
}

// The promise to every reader of the files: GBK text gives the very bytes it always gave.
void TestGbk::everyGbkCharacterKeepsItsGbkBytes()
{
    iconv_t gbk = iconv_open("GBK", "UTF-8");
    QVERIFY(gbk != reinterpret_cast<iconv_t>(-1));
    int checked = 0;
    for (char32_t c = 0x80; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        const QString text = QString::fromUcs4(&c, 1);
        QByteArray in = text.toUtf8();
        char out[8];
        char* src = in.data();
        size_t srcLeft = size_t(in.size());
        char* dst = out;
        size_t dstLeft = sizeof(out);
        iconv(gbk, nullptr, nullptr, nullptr, nullptr);
        if (iconv(gbk, &src, &srcLeft, &dst, &dstLeft) == size_t(-1))
            continue;
        const QByteArray expected(out, qsizetype(sizeof(out) - dstLeft));
        ++checked;
        if (Gbk::encode(text) != expected || Gbk::decode(expected) != text)
            QFAIL(qPrintable(QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0'))));
    }
    iconv_close(gbk);
    QVERIFY(checked > 21000);
}

void TestGbk::decodes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");

    QTest::newRow("GB18030's own euro") << QByteArray("\xa2\xe3") << QStringLiteral("€") << true;
    // Written by GB18030-2005 converters (ICU, Windows); the 2022 tables moved these characters to two bytes.
    QTest::newRow("2005 vertical comma") << QByteArray("\x84\x31\x82\x36") << QStringLiteral("\uFE10") << true;
    QTest::newRow("2005 radical") << QByteArray("\x82\x35\x91\x34") << QStringLiteral("\u9FBB") << true;
    QTest::newRow("broken lead keeps the line end")
        << QByteArray("x\x81\r\ny") << QStringLiteral("x\uFFFD\r\ny") << false;
    QTest::newRow("broken four-byte start keeps the digit")
        << QByteArray("\x81\x30\x81") << QStringLiteral("\uFFFD0\uFFFD") << false;
    QTest::newRow("unassigned four-byte code") << QByteArray("\x84\x31\xa5\x30z") << QStringLiteral("\uFFFDz") << false;
    QTest::newRow("byte FF") << QByteArray("\xff") << QStringLiteral("\uFFFD") << false;
}

void TestGbk::decodes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(bool, valid);
    bool ok = !valid;
    QCOMPARE(Gbk::decode(bytes, &ok), text);
    QCOMPARE(ok, valid);
}

void TestGbk::lineEditRefusesWhatDoesNotFit_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("commit");
    QTest::addColumn<QString>("expected");
    QTest::newRow("fits exactly") << QStringLiteral("张三") << QStringLiteral("李四") << QStringLiteral("张三李四");
    QTest::newRow("ninth byte refused") << QStringLiteral("张三李四") << QStringLiteral("a")
                                        << QStringLiteral("张三李四");
    QTest::newRow("cut at a character") << QStringLiteral("abcde") << QStringLiteral("王五")
                                        << QStringLiteral("abcde王");
}

void TestGbk::lineEditRefusesWhatDoesNotFit()
{
    QFETCH(QString, start);
    QFETCH(QString, commit);
    QFETCH(QString, expected);
    GbkLineEdit edit;
    edit.setMaxBytes(8);
    edit.setText(start);
    edit.setCursorPosition(int(start.size()));
    // An input method's commit is how Chinese text arrives.
    QInputMethodEvent event;
    event.setCommitString(commit);
    QApplication::sendEvent(&edit, &event);
    QCOMPARE(edit.text(), expected);
}

void TestGbk::textEditCountsLineBreaksAsTwoBytes()
{
    GbkTextEdit edit;
    edit.setMaxBytes(10);
    QApplication::clipboard()->setText(QStringLiteral("一二\n三四五"));
    edit.paste();
    // 4 + 2 + 4 bytes fit; the fifth character would be the eleventh and twelfth.
    QCOMPARE(edit.toPlainText(), QStringLiteral("一二\n三四"));
    QTest::keyClick(&edit, Qt::Key_A);
    QCOMPARE(edit.toPlainText(), QStringLiteral("一二\n三四"));
}

QTEST_MAIN(TestGbk)
#include "TestGbk.moc"
