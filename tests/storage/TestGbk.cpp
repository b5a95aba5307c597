#include "storage/Gbk.h"
#include "widgets/GbkLineEdit.h"
#include "widgets/GbkTextEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QtTest>

class TestGbk : public QObject
{
    Q_OBJECT

private slots:
    void byteLengths_data();
    void byteLengths();
    void truncateNeverSplitsACharacter_data();
    void truncateNeverSplitsACharacter();
    void roundTrip();
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
    QTest::newRow("outside GBK counts as ?") << QStringLiteral("a\U0001F600") << false << 2;
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
