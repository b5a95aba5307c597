#include "text/Gbk.h"
#include "widgets/GbkLineEdit.h"
#include "widgets/GbkTextEdit.h"

#include <QAccessible>
#include <QAccessibleEditableTextInterface>
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
    void everyWayInKeepsTheLimit_data();
    void everyWayInKeepsTheLimit();
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

namespace {

/// The accessibility interface's editing of a control: what screen readers and test tools drive.
QAccessibleEditableTextInterface* accessibleEditing(QWidget* edit)
{
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(edit);
    return accessible ? accessible->editableTextInterface() : nullptr;
}

QString textOf(QWidget* edit)
{
    if (auto* line = qobject_cast<QLineEdit*>(edit))
        return line->text();
    return static_cast<QPlainTextEdit*>(edit)->toPlainText();
}

} // namespace

void TestGbkEdits::everyWayInKeepsTheLimit_data()
{
    QTest::addColumn<QString>("widget"); // line (GbkLineEdit) or text (GbkTextEdit), both limited to 10 bytes
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    // Each starts from "ab|cd" (the caret after "b"); "一二三四" is 8 bytes and only 6 fit. A replacement takes
    // "bc"; a whole new text keeps its start.
    const QString four = u"一二三四"_s;
    for (const QString& widget : { u"line"_s, u"text"_s }) {
        auto row = [&](const char* name, const QString& how, const QString& input, const QString& expected) {
            QTest::addRow("%s, %s", qPrintable(widget), name) << widget << how << input << expected;
        };
        row("keys", u"keys"_s, u"xyzuvwq"_s, u"abxyzuvwcd"_s);
        row("paste", u"paste"_s, four, u"ab一二三cd"_s);
        row("input method commit", u"input method"_s, four, u"ab一二三cd"_s);
        row("input method commit after composing", u"input method composing"_s, four, u"ab一二三cd"_s);
        row("input method replacement", u"input method replacement"_s, u"一二三四五"_s, u"a一二三四d"_s);
        row("set from code", u"set"_s, u"一二三四五六"_s, u"一二三四五"_s);
        row("accessible insertion", u"accessible"_s, four, u"ab一二三cd"_s);
        row("accessible replacement", u"accessible replacement"_s, u"一二三四五"_s, u"a一二三四d"_s);
        row("accessible value", u"accessible value"_s, u"一二三四五六"_s, u"一二三四五"_s);
        row("emoji never halved", u"paste"_s, u"\U0001F600\U0001F600"_s, u"ab\U0001F600cd"_s);
        row("accent stays with its letter", u"accessible"_s, u"xyze\u0301"_s, u"abxyzcd"_s);
        row("limit set under the text", u"lower limit"_s, u"一二三四五六"_s, u"一二三四五"_s);
    }
    QTest::newRow("text, set through the base class")
        << u"text"_s << u"base set"_s << u"一二三四五六"_s << u"一二三四五"_s;
    QTest::newRow("text, direct document edit") << u"text"_s << u"document"_s << four << u"ab一二三cd"_s;
    QTest::newRow("text, line break counts two") << u"text"_s << u"document"_s << u"一二\n三"_s << u"ab一二\ncd"_s;
    QTest::newRow("line, insert from code") << u"line"_s << u"insert"_s << four << u"ab一二三cd"_s;
}

void TestGbkEdits::everyWayInKeepsTheLimit()
{
    QFETCH(QString, widget);
    QFETCH(QString, how);
    QFETCH(QString, input);
    QFETCH(QString, expected);

    GbkLineEdit line;
    GbkTextEdit text;
    QWidget* edit = widget == u"line" ? static_cast<QWidget*>(&line) : static_cast<QWidget*>(&text);
    line.setMaxBytes(10);
    text.setMaxBytes(10);
    line.setText(u"abcd"_s);
    line.setCursorPosition(2);
    text.setPlainText(u"abcd"_s);
    QTextCursor caret = text.textCursor();
    caret.setPosition(2);
    text.setTextCursor(caret);
    edit->show();
    edit->setFocus();

    if (how == u"keys") {
        QTest::keyClicks(edit, input);
    } else if (how == u"paste") {
        QApplication::clipboard()->setText(input);
        widget == u"line" ? line.paste() : text.paste();
    } else if (how.startsWith(u"input method")) {
        if (how.endsWith(u"composing")) {
            QInputMethodEvent composing(u"yi"_s, {});
            QApplication::sendEvent(edit, &composing);
        }
        QInputMethodEvent event;
        if (how.endsWith(u"replacement"))
            event.setCommitString(input, -1, 2); // "bc", relative to the caret
        else
            event.setCommitString(input);
        QApplication::sendEvent(edit, &event);
    } else if (how == u"set") {
        widget == u"line" ? line.setText(input) : text.setPlainText(input);
    } else if (how == u"lower limit") {
        line.setMaxBytes(0);
        text.setMaxBytes(0);
        widget == u"line" ? line.setText(input) : text.setPlainText(input);
        line.setMaxBytes(10);
        text.setMaxBytes(10);
    } else if (how == u"base set") {
        static_cast<QPlainTextEdit&>(text).setPlainText(input);
    } else if (how == u"insert") {
        line.insert(input);
    } else if (how == u"document") {
        QTextCursor cursor(text.document());
        cursor.setPosition(2);
        cursor.insertText(input);
    } else if (how == u"accessible value") {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(edit);
        QVERIFY(accessible);
        accessible->setText(QAccessible::Value, input);
    } else if (how.startsWith(u"accessible")) {
        QAccessibleEditableTextInterface* editing = accessibleEditing(edit);
        QVERIFY(editing);
        if (how.endsWith(u"replacement"))
            editing->replaceText(1, 3, input);
        else
            editing->insertText(2, input);
    } else {
        QFAIL("unknown way in");
    }
    QCOMPARE(textOf(edit), expected);
    QVERIFY(Gbk::byteLength(textOf(edit), true) <= 10);
}

QTEST_MAIN(TestGbkEdits)
#include "TestGbkEdits.moc"
