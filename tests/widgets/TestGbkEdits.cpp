#include "storage/Gbk.h"
#include "widgets/GbkLineEdit.h"
#include "widgets/GbkTextEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QTest>

using namespace Qt::StringLiterals;

/// The byte limit of the two edits, on every way text gets in. The limit here is 10 bytes: five Chinese characters.
class TestGbkEdits : public QObject
{
    Q_OBJECT
private slots:
    void textEditKeepsTheLimit_data();
    void textEditKeepsTheLimit();
    void lineEditCutsWhereTheInsertionWas();
};

void TestGbkEdits::textEditKeepsTheLimit_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("anchor"); // selection from anchor to position; equal: just the caret
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("how"); // commit, preedit+commit, paste, key, enter, insert (a direct insertion)
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("caret");

    QTest::newRow("commit into an empty edit")
        << QString() << 0 << 0 << u"commit"_s << u"一二三四五六"_s << u"一二三四五"_s << 5;
    QTest::newRow("commit one byte short") << u"abcdefghi"_s << 9 << 9 << u"commit"_s << u"一"_s << u"abcdefghi"_s << 9;
    QTest::newRow("commit after composing")
        << u"ab"_s << 2 << 2 << u"preedit+commit"_s << u"一二三四五"_s << u"ab一二三四"_s << 6;
    QTest::newRow("commit over a selection")
        << u"abcdefghij"_s << 2 << 8 << u"commit"_s << u"一二三四"_s << u"ab一二三ij"_s << 5;
    QTest::newRow("paste over a selection")
        << u"abcdefghij"_s << 0 << 10 << u"paste"_s << u"一二三四五六"_s << u"一二三四五"_s << 5;
    QTest::newRow("paste with CR LF") << u"ab"_s << 2 << 2 << u"paste"_s << u"c\r\nd\re"_s << u"abc\nd\ne"_s << 7;
    QTest::newRow("key at the limit") << u"一二三四五"_s << 5 << 5 << u"key"_s << u"x"_s << u"一二三四五"_s << 5;
    QTest::newRow("key replaces a selection") << u"一二三四五"_s << 0 << 1 << u"key"_s << u"x"_s << u"x二三四五"_s << 1;
    QTest::newRow("line break needs two bytes")
        << u"abcdefghi"_s << 9 << 9 << u"enter"_s << QString() << u"abcdefghi"_s << 9;
    QTest::newRow("new text keeps its start")
        << u"ab"_s << 0 << 0 << u"set"_s << u"一二三四五六"_s << u"一二三四五"_s << -1;
    // "ba" into "…a|b" gives "…abab"; the end of the insertion is cut, which leaves "…abb", not "…aba".
    QTest::newRow("repeated text cut where it went in")
        << u"一二三xab"_s << 5 << 5 << u"insert"_s << u"ba"_s << u"一二三xabb"_s << 6;
}

void TestGbkEdits::textEditKeepsTheLimit()
{
    QFETCH(QString, start);
    QFETCH(int, anchor);
    QFETCH(int, position);
    QFETCH(QString, how);
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QFETCH(int, caret);

    GbkTextEdit edit;
    edit.setMaxBytes(10);
    edit.setPlainText(start);
    QTextCursor cursor = edit.textCursor();
    cursor.setPosition(anchor);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    edit.setTextCursor(cursor);

    if (how == u"commit" || how == u"preedit+commit") {
        if (how.startsWith(u"preedit")) {
            QInputMethodEvent composing(u"yi"_s, {});
            QApplication::sendEvent(&edit, &composing);
        }
        QInputMethodEvent event;
        event.setCommitString(input);
        QApplication::sendEvent(&edit, &event);
    } else if (how == u"paste") {
        QApplication::clipboard()->setText(input);
        edit.paste();
    } else if (how == u"key") {
        QTest::keyClicks(&edit, input);
    } else if (how == u"set") {
        edit.setPlainText(input);
    } else if (how == u"enter") {
        QTest::keyClick(&edit, Qt::Key_Return);
    } else {
        // Inserted past the key and input handling, so only the last guard stands in the way.
        edit.QPlainTextEdit::insertPlainText(input);
    }

    QCOMPARE(edit.toPlainText(), expected);
    if (caret >= 0)
        QCOMPARE(edit.textCursor().position(), caret);
    QVERIFY(Gbk::byteLength(edit.toPlainText(), true) <= 10);
}

void TestGbkEdits::lineEditCutsWhereTheInsertionWas()
{
    // "ba" into "a|b" gives "abab"; with room for one more byte the edit keeps "abb", not "aba".
    GbkLineEdit edit;
    edit.setMaxBytes(3);
    edit.setText(u"ab"_s);
    edit.setCursorPosition(1);
    QInputMethodEvent event;
    event.setCommitString(u"ba"_s);
    QApplication::sendEvent(&edit, &event);
    QCOMPARE(edit.text(), u"abb"_s);
    QCOMPARE(edit.cursorPosition(), 2);
}

QTEST_MAIN(TestGbkEdits)
#include "TestGbkEdits.moc"
