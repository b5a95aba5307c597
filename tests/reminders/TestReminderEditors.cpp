#include "ReminderWindows.h"
#include "platform/AppError.h"
#include "text/Gbk.h"
#include "widgets/GbkTextEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

/// Chinese text arrives through the input method, as it does for a user.
void commitText(QWidget* widget, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(widget, &event);
}

void click(QAbstractButton* button)
{
    QVERIFY(button->isVisible());
    QVERIFY(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
}

void setTicked(QCheckBox* box, bool ticked)
{
    if (box->isChecked() != ticked)
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
    QCOMPARE(box->isChecked(), ticked);
}

} // namespace

class TestReminderEditors : public QObject
{
    Q_OBJECT
private slots:
    void addStoresTheControls_data();
    void addStoresTheControls();
    void emptyTextIsRefused_data();
    void emptyTextIsRefused();
    void addResetsFieldsButKeepsCheckBoxes();
    void everyCloseReloadsListAndStopsSound_data();
    void everyCloseReloadsListAndStopsSound();
    void modifyLoadsTheCurrentRow_data();
    void modifyLoadsTheCurrentRow();
    void modifyUpdatesOnlyItsRow();
    void typedSoundOpensOnlyAnExistingFile();
    void pickedSoundOpensAtOnce();
    void memoHoldsFiftyGbkBytes_data();
    void memoHoldsFiftyGbkBytes();
    void choosersListFileAndFillTheirEditor_data();
    void choosersListFileAndFillTheirEditor();
};

void TestReminderEditors::addStoresTheControls_data()
{
    QTest::addColumn<bool>("sound");
    QTest::addColumn<bool>("autoClose");
    QTest::addColumn<bool>("active");
    QTest::addColumn<QString>("soundFile"); // chosen with "..." when not empty
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QStringList>("expected"); // hint, hintdate, sound, dispear

    const QDate future(2027, 3, 9);
    QTest::newRow("all ticked") << true << true << true << QString() << future
                                << QStringList{ u"是"_s, u"2027-03-09"_s, u"致爱丽丝"_s, u"15"_s };
    QTest::newRow("sound unticked") << false << true << true << QString() << future
                                    << QStringList{ u"是"_s, u"2027-03-09"_s, QString(), u"15"_s };
    QTest::newRow("auto-close unticked") << true << false << true << QString() << future
                                         << QStringList{ u"是"_s, u"2027-03-09"_s, u"致爱丽丝"_s, QString() };
    QTest::newRow("not active") << true << true << false << QString() << future
                                << QStringList{ u"否"_s, u"2027-03-09"_s, u"致爱丽丝"_s, u"15"_s };
    QTest::newRow("past date") << true << true << true << QString() << QDate(2001, 2, 3)
                               << QStringList{ u"是"_s, u"2001-02-03"_s, u"致爱丽丝"_s, u"15"_s };
    QTest::newRow("chosen sound file") << true << true << true << u"/home/u/My Music/bell's.wav"_s << future
                                       << QStringList{ u"是"_s, u"2027-03-09"_s, u"/home/u/My Music/bell's.wav"_s,
                                                       u"15"_s };
}

void TestReminderEditors::addStoresTheControls()
{
    QFETCH(bool, sound);
    QFETCH(bool, autoClose);
    QFETCH(bool, active);
    QFETCH(QString, soundFile);
    QFETCH(QDate, date);
    QFETCH(QStringList, expected);

    ReminderWindows w;
    TFrmAlarminf& add = *w.add;
    add.show();
    add.DateTimePicker1->setDate(date);
    add.DateTimePicker2->setTime(QTime(7, 6, 5));
    add.ComboBox1->setEditText(u"每周周三"_s);
    add.ComboBox2->setEditText(u"致爱丽丝"_s);
    if (!soundFile.isEmpty()) {
        w.env.dialogs.setNextFileName(soundFile);
        click(add.SpeedButton5);
        QCOMPARE(add.ComboBox2->currentText(), soundFile);
        QCOMPARE(w.player().openFile, soundFile);
    }
    add.Edit1->setText(u"15"_s);
    setTicked(add.CheckBox1, sound);
    setTicked(add.CheckBox2, autoClose);
    setTicked(add.CheckBox3, active);
    QCOMPARE(add.ComboBox2->isEnabled(), sound);
    QCOMPARE(add.Edit1->isEnabled(), autoClose);
    commitText(add.Memo1, u"开会 'A' \"B\""_s);
    w.env.dialogs.setNextFileName(u"/opt/it's/run.sh"_s);
    click(add.SpeedButton1);

    click(add.BitBtn1);

    QVERIFY(!add.isVisible());
    QCOMPARE(w.rows().size(), 1);
    const QStringList row = w.rows().constFirst();
    QCOMPARE(row.mid(1),
             (QStringList{ expected.at(0), expected.at(1), u"07:06:05"_s, u"开会 'A' \"B\""_s, expected.at(2),
                           u"每周周三"_s, u"/opt/it's/run.sh"_s, expected.at(3) }));
    QVERIFY(w.env.dialogs.boxes.isEmpty());
    QCOMPARE(w.alarm->Query1->recordCount(), 1);
}

void TestReminderEditors::emptyTextIsRefused_data()
{
    QTest::addColumn<bool>("modify");
    QTest::newRow("add") << false;
    QTest::newRow("modify") << true;
}

void TestReminderEditors::emptyTextIsRefused()
{
    QFETCH(bool, modify);
    ReminderWindows w;
    const QString num = w.insert(ReminderWindows::sample(u"原来的"_s));
    const QList<QStringList> before = w.rows();
    w.alarm->show();
    ReminderEditor* editor = modify ? static_cast<ReminderEditor*>(w.edit) : w.add;
    editor->show();
    editor->Memo1->clear();
    editor->Edit2->setText(u"/bin/changed"_s);

    click(editor->BitBtn1);

    QCOMPARE(w.env.dialogs.boxes.size(), 1);
    const FakeDialogs::Box box = w.env.dialogs.boxes.constFirst();
    QCOMPARE(box.text, u"请输入提醒文字，应小于25个字!"_s);
    QCOMPARE(box.caption, u"提示"_s);
    QCOMPARE(box.icon, MsgIcon::Warning);
    QCOMPARE(box.buttons, MsgButtons::Ok);
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->Edit2->text(), u"/bin/changed"_s);
    QCOMPARE(w.rows(), before);
}

void TestReminderEditors::addResetsFieldsButKeepsCheckBoxes()
{
    ReminderWindows w;
    TFrmAlarminf& add = *w.add;
    w.env.clock.set(QDateTime(QDate(2026, 12, 24), QTime(21, 30, 15)));
    add.show();
    commitText(add.Memo1, u"旧的"_s);
    add.Edit1->setText(u"99"_s);
    add.Edit2->setText(u"/bin/old"_s);
    add.ComboBox1->setEditText(u"每月一次"_s);
    add.ComboBox2->setEditText(u"天鹅湖"_s);
    setTicked(add.CheckBox1, false);
    setTicked(add.CheckBox2, false);
    setTicked(add.CheckBox3, false);
    click(add.BitBtn2);
    w.player().calls.clear();

    add.show();

    QCOMPARE(add.DateTimePicker1->date(), QDate(2026, 12, 24));
    QCOMPARE(add.DateTimePicker2->time(), QTime(21, 30, 15));
    QCOMPARE(add.ComboBox1->currentText(), u"指定时间"_s);
    QCOMPARE(add.ComboBox2->currentText(), u"小闹钟"_s);
    QCOMPARE(add.Memo1->toPlainText(), QString());
    QCOMPARE(add.Edit2->text(), QString());
    QCOMPARE(add.Edit1->text(), u"6"_s);
    QVERIFY(!add.CheckBox1->isChecked() && !add.ComboBox2->isEnabled());
    QVERIFY(!add.CheckBox2->isChecked() && !add.Edit1->isEnabled());
    QVERIFY(!add.CheckBox3->isChecked());
    QVERIFY(add.SpeedButton4->isVisible() && !add.SpeedButton3->isVisible());
    QCOMPARE(w.player().openFile, w.env.path(u"sound/clocker.wav"_s));

    // The current-time button follows the clock.
    w.env.clock.set(QDateTime(QDate(2027, 1, 1), QTime(0, 0, 1)));
    click(add.Button1);
    QCOMPARE(add.DateTimePicker1->date(), QDate(2027, 1, 1));
    QCOMPARE(add.DateTimePicker2->time(), QTime(0, 0, 1));
}

void TestReminderEditors::everyCloseReloadsListAndStopsSound_data()
{
    QTest::addColumn<bool>("modify");
    QTest::addColumn<QString>("how");
    for (const bool modify : { false, true }) {
        const char* window = modify ? "modify" : "add";
        for (const char* how : { "ok", "cancel", "escape", "close box" })
            QTest::addRow("%s %s", window, how) << modify << QString::fromLatin1(how);
    }
}

void TestReminderEditors::everyCloseReloadsListAndStopsSound()
{
    QFETCH(bool, modify);
    QFETCH(QString, how);
    ReminderWindows w;
    w.insert(ReminderWindows::sample(u"一"_s));
    w.insert(ReminderWindows::sample(u"二"_s));
    w.alarm->show();
    w.alarm->Query1->setRecNo(1);
    ReminderEditor* editor = modify ? static_cast<ReminderEditor*>(w.edit) : w.add;
    editor->show();
    commitText(editor->Memo1, u"新"_s);
    click(editor->SpeedButton4);
    QVERIFY(w.player().playing);
    // A row that appears meanwhile must show up once the editor has closed.
    w.insert(ReminderWindows::sample(u"三"_s));

    if (how == u"ok")
        click(editor->BitBtn1);
    else if (how == u"cancel")
        click(editor->BitBtn2);
    else if (how == u"escape")
        QTest::keyClick(editor, Qt::Key_Escape);
    else
        editor->close();

    QVERIFY(!editor->isVisible());
    QVERIFY(!w.player().playing);
    QCOMPARE(w.player().openFile, QString());
    QCOMPARE(w.alarm->Query1->recordCount(), modify || how != u"ok" ? 3 : 4);
    QCOMPARE(w.alarm->Query1->recNo(), 0);
}

void TestReminderEditors::modifyLoadsTheCurrentRow_data()
{
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("sound");
    QTest::addColumn<QString>("dispear");
    QTest::addColumn<QString>("playerFile"); // relative to the sound folder unless absolute; empty: no file

    QTest::newRow("active, catalogue sound") << u"是"_s << u"小汽车"_s << u"30"_s << u"call.wav"_s;
    QTest::newRow("stopped, no sound, stays") << u"否"_s << QString() << QString() << QString();
    QTest::newRow("other hint, own file") << u"x"_s << u"/music/own.mid"_s << u"5"_s << u"/music/own.mid"_s;
}

void TestReminderEditors::modifyLoadsTheCurrentRow()
{
    QFETCH(QString, hint);
    QFETCH(QString, sound);
    QFETCH(QString, dispear);
    QFETCH(QString, playerFile);
    ReminderWindows w;
    w.insert(ReminderWindows::sample(u"第一"_s));
    Reminder r;
    r.hint = hint;
    r.hintdate = QDate(2026, 2, 28);
    r.hinttime = QTime(23, 59, 58);
    r.content = u"第二行\n两行"_s;
    r.sound = sound;
    r.frequency = u"每周周日"_s;
    r.program = u"/bin/it's"_s;
    r.dispear = dispear;
    const QString num = w.insert(r);
    w.alarm->show();
    w.alarm->Query1->setRecNo(1);
    TFrmEdit& edit = *w.edit;
    // Leftovers from an earlier use must not survive the loading.
    edit.CheckBox1->setChecked(sound.isEmpty());
    edit.CheckBox2->setChecked(dispear.isEmpty());
    edit.CheckBox3->setChecked(hint != u"是");

    edit.show();

    QCOMPARE(edit.Edit3->text(), num);
    QCOMPARE(edit.DateTimePicker1->date(), r.hintdate);
    QCOMPARE(edit.DateTimePicker2->time(), r.hinttime);
    QCOMPARE(edit.ComboBox1->currentText(), r.frequency);
    QCOMPARE(edit.ComboBox2->currentText(), sound);
    QCOMPARE(edit.CheckBox1->isChecked(), !sound.isEmpty());
    QCOMPARE(edit.ComboBox2->isEnabled(), !sound.isEmpty());
    QCOMPARE(edit.Edit1->text(), dispear);
    QCOMPARE(edit.CheckBox2->isChecked(), !dispear.isEmpty());
    QCOMPARE(edit.Edit1->isEnabled(), !dispear.isEmpty());
    QCOMPARE(edit.Memo1->toPlainText(), r.content);
    QCOMPARE(edit.Edit2->text(), r.program);
    QCOMPARE(edit.CheckBox3->isChecked(), hint == u"是");
    QVERIFY(edit.SpeedButton4->isVisible() && !edit.SpeedButton3->isVisible());
    const QString expectedFile
        = playerFile.isEmpty() || playerFile.startsWith(u'/') ? playerFile : w.env.path(u"sound/"_s + playerFile);
    QCOMPARE(w.player().fileName(), expectedFile);
    QCOMPARE(w.player().openFile, expectedFile);
    // The shared player and the chime's: the editors make none of their own.
    QCOMPARE(w.players.created.size(), 2);
}

void TestReminderEditors::modifyUpdatesOnlyItsRow()
{
    ReminderWindows w;
    w.insert(ReminderWindows::sample(u"一"_s));
    const QString num = w.insert(ReminderWindows::sample(u"二"_s));
    w.insert(ReminderWindows::sample(u"三"_s));
    const QList<QStringList> before = w.rows();
    w.alarm->show();
    w.alarm->Query1->setRecNo(1);
    TFrmEdit& edit = *w.edit;
    edit.show();
    edit.Memo1->clear();
    commitText(edit.Memo1, u"it's \"二\" '' x"_s);
    edit.Edit2->setText(u"/bin/a'b"_s);
    setTicked(edit.CheckBox1, false);
    setTicked(edit.CheckBox3, false);

    click(edit.BitBtn1);

    const QList<QStringList> after = w.rows();
    QCOMPARE(after.size(), 3);
    QCOMPARE(after.at(0), before.at(0));
    QCOMPARE(after.at(2), before.at(2));
    QCOMPARE(after.at(1),
             (QStringList{ num, u"否"_s, u"2027-01-05"_s, u"08:05:09"_s, u"it's \"二\" '' x"_s, QString(),
                           u"每天一次"_s, u"/bin/a'b"_s, u"30"_s }));
}

void TestReminderEditors::typedSoundOpensOnlyAnExistingFile()
{
    ReminderWindows w;
    const QString own = w.env.path(u"own.wav"_s);
    w.env.writeFile(u"own.wav"_s, "RIFF");
    TFrmAlarminf& add = *w.add;
    add.show();
    FakeSoundPlayer& player = w.player();
    add.ComboBox2->lineEdit()->clear();
    player.calls.clear();

    QTest::keyClicks(add.ComboBox2->lineEdit(), own);

    // Every keystroke before the name was complete left the player closed, without an error.
    QCOMPARE(player.calls.filter(u"open"_s), QStringList{ u"open "_s + own });
    QCOMPARE(player.openFile, own);

    QTest::keyClicks(add.ComboBox2->lineEdit(), u"x"_s);
    QCOMPARE(player.openFile, QString());
    player.missing << own + u"x"_s;
    QVERIFY_THROWS_EXCEPTION(AppError, add.SpeedButton4Click());
    QVERIFY(!player.playing);

    QTest::keyClick(add.ComboBox2->lineEdit(), Qt::Key_Backspace);
    click(add.SpeedButton4);
    QVERIFY(player.playing);
    QVERIFY(add.SpeedButton3->isVisible() && !add.SpeedButton4->isVisible());
    click(add.SpeedButton3);
    QVERIFY(!player.playing);
    QVERIFY(add.SpeedButton4->isVisible() && !add.SpeedButton3->isVisible());
}

void TestReminderEditors::pickedSoundOpensAtOnce()
{
    ReminderWindows w;
    TFrmAlarminf& add = *w.add;
    add.show();
    w.player().calls.clear();

    QTest::keyClick(add.ComboBox2, Qt::Key_Down); // picks the second item

    QCOMPARE(add.ComboBox2->currentText(), u"小汽车"_s);
    QCOMPARE(w.player().calls, (QStringList{ u"open "_s + w.env.path(u"sound/call.wav"_s) }));

    // A missing file of a picked name is the player's error, at once: it ends the pick and goes to the error box.
    w.player().missing << w.env.path(u"sound/致爱丽丝.mid"_s);
    QVERIFY(w.env.errors.isEmpty());
    QTest::keyClick(add.ComboBox2, Qt::Key_Down);
    QCOMPARE(w.env.errors.size(), 1);
    QVERIFY(w.env.errors.constFirst().contains(u"致爱丽丝.mid"_s));
    QVERIFY(w.player().openFile.isEmpty());
}

void TestReminderEditors::memoHoldsFiftyGbkBytes_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("how"); // "commit", "type" or "paste"
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    const QString zh25 = QString(u"中"_s).repeated(25);
    const QString a48 = QString(u"a"_s).repeated(48);
    QTest::newRow("25 chinese fit") << QString() << u"commit"_s << zh25 << zh25;
    QTest::newRow("no 51st byte") << zh25 << u"type"_s << u"x"_s << zh25;
    QTest::newRow("mixed fits exactly") << a48 << u"commit"_s << u"中"_s << a48 + u"中"_s;
    QTest::newRow("mixed, half a character short") << a48 + u"b"_s << u"commit"_s << u"中"_s << a48 + u"b"_s;
    QTest::newRow("line break counts two") << a48 + u"b"_s << u"type"_s << u"\n"_s << a48 + u"b"_s;
    QTest::newRow("paste cut at a character") << u"abc"_s << u"paste"_s << zh25 << u"abc"_s + zh25.left(23);
}

void TestReminderEditors::memoHoldsFiftyGbkBytes()
{
    QFETCH(QString, start);
    QFETCH(QString, how);
    QFETCH(QString, input);
    QFETCH(QString, expected);
    ReminderWindows w;
    GbkTextEdit* memo = w.add->Memo1;
    memo->setPlainText(start);
    memo->moveCursor(QTextCursor::End);
    if (how == u"commit") {
        commitText(memo, input);
    } else if (how == u"paste") {
        QApplication::clipboard()->setText(input);
        memo->paste();
    } else if (input == u"\n") {
        QTest::keyClick(memo, Qt::Key_Return);
    } else {
        QTest::keyClicks(memo, input);
    }
    QCOMPARE(memo->toPlainText(), expected);
    QVERIFY(Gbk::byteLength(memo->toPlainText(), true) <= 50);
}

void TestReminderEditors::choosersListFileAndFillTheirEditor_data()
{
    QTest::addColumn<bool>("modify");
    QTest::addColumn<int>("pick"); // -1: double click below the entries with none selected
    QTest::addColumn<QString>("expected");
    QTest::newRow("add window's chooser") << false << 2 << u"丙\n"_s;
    QTest::newRow("modify window's chooser") << true << 0 << u"甲\n"_s;
    QTest::newRow("empty entry") << false << 3 << u"\n"_s;
    QTest::newRow("nothing selected") << true << -1 << u"\n"_s;
}

void TestReminderEditors::choosersListFileAndFillTheirEditor()
{
    QFETCH(bool, modify);
    QFETCH(int, pick);
    QFETCH(QString, expected);
    ReminderWindows w;
    const QByteArray crlf = "\r\n";
    w.env.writeFile(u"content.dat"_s,
                    Gbk::encode(u"甲"_s) + crlf + Gbk::encode(u"乙"_s) + "\r" + Gbk::encode(u"丙"_s) + "\n" + crlf
                        + Gbk::encode(u"丁"_s));
    ReminderEditor* editor = modify ? static_cast<ReminderEditor*>(w.edit) : w.add;
    QDialog* chooser = modify ? static_cast<QDialog*>(w.chooser1) : w.chooser;
    QListWidget* list = chooser->findChild<QListWidget*>(modify ? u"listbox1"_s : u"ListBox1"_s);
    QVERIFY(list);
    editor->Memo1->setPlainText(u"被替换"_s);
    editor->Edit2->setText(u"/bin/keep"_s);
    chooser->show();

    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->item(i)->text();
    QCOMPARE(entries, (QStringList{ u"甲"_s, u"乙"_s, u"丙"_s, QString(), u"丁"_s }));

    QPoint where(5, list->viewport()->height() - 3);
    if (pick >= 0) {
        where = list->visualItemRect(list->item(pick)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, where);
    }
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, where);

    QCOMPARE(editor->Memo1->toPlainText(), expected);
    QCOMPARE(editor->Edit2->text(), u"/bin/keep"_s);
    QVERIFY(!chooser->isVisible());

    // Without a file the list keeps what it showed.
    QFile::remove(w.env.path(u"content.dat"_s));
    chooser->show();
    QCOMPARE(list->count(), 5);
}

QTEST_MAIN(TestReminderEditors)
#include "TestReminderEditors.moc"
