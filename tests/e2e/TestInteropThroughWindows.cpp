// Cards and reminders moved out of and into the program by a person, with the mouse and keyboard on the real
// windows: the card manager's "数据管理" menu, the reminder list's context menu, Qt's own file dialog and the message
// that ends each action.

#include "ProgramUnderTest.h"
#include "RealInput.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QString kMessage = QStringLiteral("信息提示");
/// Qt's file dialog names its file-name box after the box's label.
const QString kFileNameBox = QStringLiteral("文件名称(N)：");

bool visible(const QString& title)
{
    return !ProgramUnderTest::windows(ProgramUnderTest::titled(title)).isEmpty();
}

bool opens(const QString& title)
{
    return !ProgramUnderTest::waitForWindows(ProgramUnderTest::titled(title), 10000).isEmpty();
}

bool closes(const QString& title)
{
    return ProgramUnderTest::waitFor([&] { return !visible(title); }, 10000);
}

/// In the file dialog titled so: clicks the file-name box, replaces what it holds by text (unless text is empty,
/// which keeps the proposed name) and confirms with Return. Qt's question before replacing a file bears the
/// dialog's title too; confirmReplace answers it.
bool chooseFile(qint64 pid, const QString& dialog, const QString& text, bool confirmReplace = false)
{
    if (!opens(dialog) || !RealInput::clickControl(pid, dialog, kFileNameBox, QStringLiteral("text")))
        return false;
    if (!text.isEmpty() && !(RealInput::key(QStringLiteral("ctrl+a")) && RealInput::type(text)))
        return false;
    if (!RealInput::key(QStringLiteral("Return")))
        return false;
    if (confirmReplace && !RealInput::clickControl(pid, dialog, QStringLiteral("是"), QStringLiteral("push button")))
        return false;
    return closes(dialog);
}

/// The message that ends an action says text; its button closes it.
bool answerMessage(qint64 pid, const QString& text)
{
    return RealInput::findControl(pid, kMessage, text, QStringLiteral("label")).isValid()
        && RealInput::clickControl(pid, kMessage, QStringLiteral("确定"), QStringLiteral("push button"))
        && closes(kMessage);
}

/// A file of the program's bak/ folder as the program's messages name it: by its folder's real path.
QString inBackupFolder(const ProgramUnderTest& program, const QString& name)
{
    return QDir::toNativeSeparators(QFileInfo(program.path(QStringLiteral("bak"))).canonicalFilePath() + u'/' + name);
}

QStringList crlfLines(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

/// Opens the reminder grid's context menu with a right click in the grid and clicks item index of its count
/// items. Qt does not show pop-up menus on the accessibility bus, so the item is found from the menu's window.
bool contextMenuItem(qint64 pid, int index, int count)
{
    const QRect grid
        = RealInput::findControl(pid, QStringLiteral("提醒列表"), QStringLiteral("提醒列表"), QStringLiteral("table"));
    if (!grid.isValid())
        return false;
    const QString menuTitle = QStringLiteral("^Vantrel$"); // the main window's title, and every pop-up's
    const QStringList before = ProgramUnderTest::windows(menuTitle);
    const QPoint at = grid.center();
    if (!RealInput::click(at, 3))
        return false;
    // The menu opens with its corner at the pointer; a tool tip that came up meanwhile does not.
    QRect rect;
    ProgramUnderTest::waitFor(
        [&] {
            for (const QString& id : ProgramUnderTest::windows(menuTitle)) {
                const QRect candidate = RealInput::windowRect(id);
                if (!before.contains(id) && candidate.topLeft() == at)
                    rect = candidate;
            }
            return rect.isValid();
        },
        5000);
    if (!rect.isValid())
        return false;
    const int rowHeight = rect.height() / count;
    return RealInput::click(QPoint(rect.center().x(), rect.top() + rowHeight * index + rowHeight / 2));
}

} // namespace

class TestInteropThroughWindows : public QObject
{
    Q_OBJECT

private slots:
    void cardBookGoesOutAndComesInAsVCard();
    void remindersGoOutAndComeInAsICalendar();
};

void TestInteropThroughWindows::cardBookGoesOutAndComesInAsVCard()
{
    ProgramUnderTest program;
    program.sqlite(QStringLiteral("data/classify.db"),
                   QStringLiteral("CREATE TABLE \"classify\" (num INTEGER PRIMARY KEY AUTOINCREMENT, classify TEXT);"
                                  "INSERT INTO classify (classify) VALUES ('同事'), ('朋友');"));
    program.sqlite(
        QStringLiteral("data/card.db"),
        QStringLiteral(
            "CREATE TABLE \"card\" (num INTEGER PRIMARY KEY AUTOINCREMENT, classify TEXT, name TEXT, netname TEXT, "
            "qq TEXT, msn TEXT, uc TEXT, email TEXT, mobile TEXT, tel TEXT, home TEXT, address TEXT, memo TEXT);"
            "INSERT INTO card (classify,name,netname,qq,email,mobile,address,memo) VALUES "
            "('同事','张三','小张','12345','','13800000000','北京市海淀区, 中关村','说\"你好\"'),"
            "('朋友','Li Lei','','','lilei@example.com','','','');"));
    const int copy = program.start();
    const qint64 pid = program.pid(copy);
    QVERIFY2(opens(QStringLiteral("Vantrel")), "main window");
    QVERIFY2(RealInput::clickControl(pid, QStringLiteral("Vantrel"), QStringLiteral("名片Vantrel")), "its group");
    QVERIFY2(RealInput::clickControl(pid, QStringLiteral("Vantrel"), QStringLiteral("名片管理"),
                                     QStringLiteral("push button")),
             "名片管理");
    QVERIFY2(opens(QStringLiteral("名片管理")), "the card manager opens");

    auto dataMenu = [&](const QString& item) {
        return RealInput::clickControl(pid, QStringLiteral("名片管理"), QStringLiteral("数据管理"),
                                       QStringLiteral("menu item"))
            && RealInput::clickControl(pid, QStringLiteral("名片管理"), item, QStringLiteral("menu item"));
    };

    // Out: a name typed without its extension, in the folder the dialog starts in.
    QVERIFY2(dataMenu(QStringLiteral("导出vCard…")), "数据管理 → 导出vCard…");
    QVERIFY2(chooseFile(pid, QStringLiteral("导出vCard"), QStringLiteral("friends")), "the save dialog");
    // The file is written once the dialog has closed; the message says where: the extension added, in bak/.
    QVERIFY2(answerMessage(pid, QStringLiteral("已导出 2 张名片到：") + inBackupFolder(program, u"friends.vcf"_s)),
             "the closing message");

    const QByteArray vcf = program.readFile(QStringLiteral("bak/friends.vcf"));
    QVERIFY2(!QByteArray(vcf).replace("\r\n", "").contains('\n'), "every line ends with CR LF");
    const QStringList lines = crlfLines(vcf);
    QCOMPARE(lines.count(QStringLiteral("BEGIN:VCARD")), 2);
    for (const QString& line :
         { QStringLiteral("FN:张三"), QStringLiteral("NICKNAME:小张"), QStringLiteral("X-QQ:12345"),
           QStringLiteral("TEL;TYPE=CELL:13800000000"), QStringLiteral("ADR:;;北京市海淀区\\, 中关村;;;;"),
           QStringLiteral("NOTE:说\"你好\""), QStringLiteral("CATEGORIES:同事"), QStringLiteral("FN:Li Lei"),
           QStringLiteral("EMAIL;TYPE=INTERNET:lilei@example.com"), QStringLiteral("CATEGORIES:朋友") })
        QVERIFY2(lines.contains(line), qPrintable(line));

    // In: a phone's file from another folder, its full path typed.
    program.writeFile(QStringLiteral("import/phone.vcf"),
                      "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8:李;四\r\nFN;CHARSET=UTF-8:李四\r\n"
                      "TEL;CELL:13900000000\r\nCATEGORIES:家人\r\nEND:VCARD\r\n"
                      "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Wang Wu\r\nEMAIL;TYPE=INTERNET:wang@example.org\r\n"
                      "END:VCARD\r\n");
    QVERIFY2(dataMenu(QStringLiteral("导入vCard…")), "数据管理 → 导入vCard…");
    QVERIFY2(chooseFile(pid, QStringLiteral("导入vCard"), program.path(QStringLiteral("import/phone.vcf"))),
             "the open dialog");
    QVERIFY2(answerMessage(pid, QStringLiteral("共导入 2 张名片。")), "the closing message");

    QCOMPARE(program.sqlite(QStringLiteral("data/card.db"),
                            QStringLiteral("SELECT classify, name, mobile, email FROM card ORDER BY num;")),
             QStringLiteral("同事|张三|13800000000|\n朋友|Li Lei||lilei@example.com\n"
                            "家人|李四|13900000000|\n未分类|Wang Wu||wang@example.org\n"));
    QCOMPARE(program.sqlite(QStringLiteral("data/classify.db"),
                            QStringLiteral("SELECT classify FROM classify ORDER BY num;")),
             QStringLiteral("同事\n朋友\n家人\n未分类\n"));
    QVERIFY2(RealInput::findControl(pid, QStringLiteral("名片管理"), QStringLiteral("家人"),
                                    QStringLiteral("table cell"), 5000)
                 .isValid(),
             "the card manager shows the new category");
    QCOMPARE(program.process(copy).state(), QProcess::Running);
}

void TestInteropThroughWindows::remindersGoOutAndComeInAsICalendar()
{
    // Never due while the test runs: the weekly one six hours away, the stopped one years ahead.
    const QString weeklyTime = QTime::currentTime().addSecs(6 * 3600).toString(QStringLiteral("HH:mm:ss"));
    ProgramUnderTest program;
    program.sqlite(
        QStringLiteral("data/time.db"),
        ProgramUnderTest::reminderTableSql()
            + QStringLiteral(
                  "INSERT INTO \"time\" (hint,hintdate,hinttime,content,sound,frequency,program,dispear) VALUES "
                  "('是','2026-03-04','%1','周会','','每周周三','',''),"
                  "('否','2030-01-02','08:00:00','交房租','','指定时间','','30');")
                  .arg(weeklyTime));
    const int copy = program.start();
    const qint64 pid = program.pid(copy);
    QVERIFY2(opens(QStringLiteral("Vantrel")), "main window");
    QVERIFY2(RealInput::clickControl(pid, QStringLiteral("Vantrel"), QStringLiteral("提醒列表"),
                                     QStringLiteral("push button")),
             "提醒列表");
    QVERIFY2(opens(QStringLiteral("提醒列表")), "the list opens");

    // Out: the proposed name taken as it is.
    QVERIFY2(contextMenuItem(pid, 0, 2), "right click → 导出到日历文件…");
    QVERIFY2(chooseFile(pid, QStringLiteral("导出到日历文件"), QString()), "the save dialog");
    const QString written = inBackupFolder(program, u"提醒.ics"_s);
    QVERIFY2(answerMessage(pid, QStringLiteral("已导出 2 条提醒到：") + written), "the closing message");

    const QStringList lines = crlfLines(program.readFile(QStringLiteral("bak/提醒.ics")));
    QCOMPARE(lines.count(QStringLiteral("BEGIN:VEVENT")), 2);
    for (const QString& line : { QStringLiteral("BEGIN:VCALENDAR"), QStringLiteral("SUMMARY:周会"),
                                 QStringLiteral("DTSTART:20260304T") + QString(weeklyTime).remove(QLatin1Char(':')),
                                 QStringLiteral("RRULE:FREQ=WEEKLY;BYDAY=WE"), QStringLiteral("SUMMARY:交房租"),
                                 QStringLiteral("DTSTART:20300102T080000"), QStringLiteral("X-VANTREL-HINT:否") })
        QVERIFY2(lines.contains(line), qPrintable(line));

    // In: another calendar's file, with an alarm ten minutes ahead of the event, its full path typed.
    program.writeFile(QStringLiteral("import/other.ics"),
                      "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//Calendar//EN\r\n"
                      "BEGIN:VEVENT\r\nUID:run@other\r\nDTSTART:20300615T090000\r\nSUMMARY:晨跑\r\n"
                      "RRULE:FREQ=DAILY\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT10M\r\nEND:VALARM\r\n"
                      "END:VEVENT\r\n"
                      "BEGIN:VTODO\r\nUID:rent@other\r\nDTSTART:20301201T140000\r\nSUMMARY:Pay the rent\r\n"
                      "RRULE:FREQ=MONTHLY;BYMONTHDAY=1\r\nEND:VTODO\r\nEND:VCALENDAR\r\n");
    QVERIFY2(contextMenuItem(pid, 1, 2), "right click → 从日历文件导入…");
    QVERIFY2(chooseFile(pid, QStringLiteral("从日历文件导入"), program.path(QStringLiteral("import/other.ics"))),
             "the open dialog");
    QVERIFY2(answerMessage(pid, QStringLiteral("共导入 2 条提醒。")), "the closing message");

    QCOMPARE(program.sqlite(QStringLiteral("data/time.db"),
                            QStringLiteral("SELECT hint, hintdate, hinttime, content, frequency FROM \"time\" "
                                           "ORDER BY num;")),
             QStringLiteral("是|2026-03-04|%1|周会|每周周三\n否|2030-01-02|08:00:00|交房租|指定时间\n"
                            "是|2030-06-15|08:50:00|晨跑|每天一次\n是|2030-12-01|14:00:00|Pay the rent|每月一次\n")
                 .arg(weeklyTime));
    QVERIFY2(RealInput::findControl(pid, QStringLiteral("提醒列表"), QStringLiteral("晨跑"),
                                    QStringLiteral("table cell"), 5000)
                 .isValid(),
             "the list shows what came in");

    // Out again under the same name: Qt asks first, and the file then holds the whole list.
    QVERIFY2(contextMenuItem(pid, 0, 2), "right click → 导出到日历文件…");
    QVERIFY2(chooseFile(pid, QStringLiteral("导出到日历文件"), QString(), true), "the save dialog and its question");
    QVERIFY2(answerMessage(pid, QStringLiteral("已导出 4 条提醒到：") + written), "the closing message");
    QCOMPARE(crlfLines(program.readFile(QStringLiteral("bak/提醒.ics"))).count(QStringLiteral("BEGIN:VEVENT")), 4);

    QCOMPARE(program.process(copy).state(), QProcess::Running);
}

QTEST_GUILESS_MAIN(TestInteropThroughWindows)
#include "TestInteropThroughWindows.moc"
