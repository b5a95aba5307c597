#include "CrashImage.h"
#include "TestEnvironment.h"
#include "platform/AppError.h"
#include "reminders/ReminderTable.h"
#include "storage/TableFiles.h"
#include "storage/TableQuery.h"
#include "storage/TableSchema.h"
#include "text/SafeLiteral.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

namespace {

QByteArray fileHash(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

int countRows(const QString& statement)
{
    TableQuery q;
    q.setSql(statement);
    q.open();
    return q.recordCount();
}

} // namespace

class TestTableQuery : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void missingTableIsCreatedWithItsFolder();
    void reminderStatements();
    void emptyKeyTouchesNoRow_data();
    void emptyKeyTouchesNoRow();
    void numLiteralMatchesByValue();
    void threeSpellingsReachOneTable_data();
    void threeSpellingsReachOneTable();
    void cardAndCategoryStatements();
    void quotesInValuesStayOneLiteral_data();
    void quotesInValuesStayOneLiteral();
    void brokenFilesAreErrorsAndLeftUntouched_data();
    void brokenFilesAreErrorsAndLeftUntouched();
    void tableCutShortAtCreationIsCreated();
    void badStatementCarriesEngineText();
    void fieldsReadAsTheDriverGivesThem_data();
    void fieldsReadAsTheDriverGivesThem();
    void unsetParameterIsNull();
    void selectRunAgainReadsOnlyItsOwnRows();
    void lockedTableWaitsThenFails_data();
    void lockedTableWaitsThenFails();

private:
    QString time() const { return m_env->appDir() + QStringLiteral("data\\time.db"); }
    QString card(const char* spelling = "data\\card.db") const
    {
        return m_env->appDir() + QString::fromLatin1(spelling);
    }
    void insertCard(const QString& classify, const QString& name, const QString& mobile = {});

    std::unique_ptr<TestEnvironment> m_env;
};

void TestTableQuery::missingTableIsCreatedWithItsFolder()
{
    QDir(m_env->path(QStringLiteral("data"))).removeRecursively();
    QCOMPARE(countRows(ReminderTable::selectAll(time())), 0);
    QVERIFY(QFile::exists(m_env->path(QStringLiteral("data/time.db"))));

    // The columns are those the sqlite3 tool and the black-box checks rely on.
    TableQuery q;
    q.setSql(ReminderTable::selectAll(time()));
    q.open();
    QCOMPARE(q.fieldNames(),
             QStringList({ QStringLiteral("num"), QStringLiteral("hint"), QStringLiteral("hintdate"),
                           QStringLiteral("hinttime"), QStringLiteral("content"), QStringLiteral("sound"),
                           QStringLiteral("frequency"), QStringLiteral("program"), QStringLiteral("dispear") }));
}

void TestTableQuery::reminderStatements()
{
    Reminder r;
    r.hint = QStringLiteral("是");
    r.hintdate = QDate(2026, 3, 7);
    r.hinttime = QTime(8, 5, 9);
    r.content = QStringLiteral("It's 开会");
    r.sound = QStringLiteral("小闹钟");
    r.frequency = QStringLiteral("每天一次");
    r.program = QStringLiteral("/usr/bin/o'neil");
    r.dispear = QString();

    TableQuery q;
    for (int i = 0; i < 2; ++i) {
        q.close();
        q.setSql(ReminderTable::insert(time()));
        QCOMPARE(q.paramCount(), 8);
        ReminderTable::bindValues(q, r);
        QCOMPARE(q.execSql(), 1);
    }

    // Dates and times are stored so that the sqlite3 tool reads them, and shown in the short and long formats.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("peek"));
        db.setDatabaseName(m_env->path(QStringLiteral("data/time.db")));
        QVERIFY(db.open());
        QSqlQuery peek(QStringLiteral("select hintdate, hinttime, dispear from time where num=1"), db);
        QVERIFY(peek.next());
        QCOMPARE(peek.value(0).toString(), QStringLiteral("2026-03-07"));
        QCOMPARE(peek.value(1).toString(), QStringLiteral("08:05:09"));
        QCOMPARE(peek.value(2).toString(), QString());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("peek"));

    q.setSql(ReminderTable::selectAll(time()));
    q.open();
    QCOMPARE(q.recordCount(), 2);
    QCOMPARE(q.fieldAsString(QStringLiteral("hintdate")), QStringLiteral("2026-3-7"));
    QCOMPARE(q.fieldAsString(QStringLiteral("hinttime")), QStringLiteral("8:05:09"));
    QCOMPARE(q.fieldAsDateTime(QStringLiteral("hintdate")).date(), QDate(2026, 3, 7));
    QCOMPARE(q.fieldAsDateTime(QStringLiteral("hinttime")).time(), QTime(8, 5, 9));
    QCOMPARE(q.fieldAsString(QStringLiteral("content")), r.content);
    QCOMPARE(q.fieldAsString(QStringLiteral("program")), r.program);
    const QString first = q.fieldAsString(QStringLiteral("num"));
    q.next();
    const QString second = q.fieldAsString(QStringLiteral("num"));
    q.next();
    QVERIFY(q.eof());

    // Statement 4 in its two lines updates only its row.
    r.content = QStringLiteral("改过");
    q.close();
    q.clearSql();
    q.addSql(ReminderTable::updateLine1(time()));
    q.addSql(ReminderTable::updateLine2(second));
    ReminderTable::bindValues(q, r);
    QCOMPARE(q.execSql(), 1);

    TableQuery today;
    today.setSql(ReminderTable::selectToday(time()));
    today.paramByName(QStringLiteral("today")).setAsDate(QDate(2026, 3, 7));
    today.open();
    QCOMPARE(today.recordCount(), 2);
    today.paramByName(QStringLiteral("today")).setAsDate(QDate(2026, 3, 8));
    today.open();
    QCOMPARE(today.recordCount(), 0);

    q.setSql(ReminderTable::setStopped(time(), first));
    QCOMPARE(q.execSql(), 1);
    q.setSql(ReminderTable::selectAll(time()));
    q.open();
    QCOMPARE(q.fieldAsString(QStringLiteral("hint")), QStringLiteral("否"));
    q.next();
    QCOMPARE(q.fieldAsString(QStringLiteral("hint")), QStringLiteral("是"));
    QCOMPARE(q.fieldAsString(QStringLiteral("content")), QStringLiteral("改过"));

    q.setSql(ReminderTable::setActive(time(), first));
    QCOMPARE(q.execSql(), 1);
    q.setSql(ReminderTable::remove(time(), first));
    QCOMPARE(q.execSql(), 1);
    QCOMPARE(countRows(ReminderTable::selectAll(time())), 1);
}

void TestTableQuery::emptyKeyTouchesNoRow_data()
{
    QTest::addColumn<QString>("statement");
    QTest::newRow("start") << ReminderTable::setActive(QString(), QString());
    QTest::newRow("stop") << ReminderTable::setStopped(QString(), QString());
    QTest::newRow("delete") << ReminderTable::remove(QString(), QString());
}

void TestTableQuery::emptyKeyTouchesNoRow()
{
    QFETCH(QString, statement);
    // An empty list window still issues its statements with an empty key: they must change nothing.
    TableQuery q;
    q.setSql(ReminderTable::insert(time()));
    ReminderTable::bindValues(q,
                              Reminder{ {},
                                        QStringLiteral("否"),
                                        QDate(2026, 1, 1),
                                        QTime(1, 0),
                                        QStringLiteral("x"),
                                        {},
                                        QStringLiteral("每天一次"),
                                        {},
                                        {} });
    q.execSql();
    statement.replace(QStringLiteral("update ''"), QStringLiteral("update '") + time() + QLatin1Char('\''));
    statement.replace(QStringLiteral("from ''"), QStringLiteral("from '") + time() + QLatin1Char('\''));
    q.setSql(statement);
    QCOMPARE(q.execSql(), 0);
    q.setSql(ReminderTable::selectAll(time()));
    q.open();
    QCOMPARE(q.recordCount(), 1);
    QCOMPARE(q.fieldAsString(QStringLiteral("hint")), QStringLiteral("否"));
}

void TestTableQuery::numLiteralMatchesByValue()
{
    for (int i = 0; i < 12; ++i)
        insertCard(QStringLiteral("同事"), QStringLiteral("n%1").arg(i + 1));
    QCOMPARE(countRows(QStringLiteral("select * from '") + card("data/card.db") + QStringLiteral("' where num='12'")),
             1);
    TableQuery q;
    q.setSql(QStringLiteral("delete from '") + card() + QStringLiteral("' where num='12'"));
    QCOMPARE(q.execSql(), 1);
    q.setSql(QStringLiteral("select * from '") + card() + QStringLiteral("' where name='n12'"));
    q.open();
    QCOMPARE(q.recordCount(), 0);
}

void TestTableQuery::threeSpellingsReachOneTable_data()
{
    QTest::addColumn<QString>("write");
    QTest::addColumn<QString>("read");
    QTest::newRow("backslash then slash") << "data\\classify.db"
                                          << "data/classify.db";
    QTest::newRow("slash then no extension") << "data/classify.db"
                                             << "data/classify";
    QTest::newRow("no extension then backslash") << "data/classify"
                                                 << "data\\classify.db";
}

void TestTableQuery::threeSpellingsReachOneTable()
{
    QFETCH(QString, write);
    QFETCH(QString, read);
    TableQuery q;
    q.setSql(QStringLiteral("insert into '") + m_env->appDir() + write + QStringLiteral("' (classify) values(:a)"));
    q.param(0).setAsString(QStringLiteral("朋友"));
    q.execSql();
    q.setSql(QStringLiteral("select * from '") + m_env->appDir() + read + QLatin1Char('\''));
    q.open();
    QCOMPARE(q.recordCount(), 1);
    QCOMPARE(q.fieldAsString(QStringLiteral("classify")), QStringLiteral("朋友"));
    QVERIFY(QFile::exists(m_env->path(QStringLiteral("data/classify.db"))));
}

void TestTableQuery::insertCard(const QString& classify, const QString& name, const QString& mobile)
{
    TableQuery q;
    q.setSql(QStringLiteral("insert into '") + card()
             + QStringLiteral("' (classify,name,netname,qq,msn,uc,email,mobile,tel,home,address,memo )  "
                              "values(:a,:b,:c,:d,:e,:f,:g,:h,:i,:j,:k,:l)"));
    QCOMPARE(q.paramCount(), 12);
    for (int i = 0; i < 12; ++i)
        q.param(i).setAsString(QString());
    q.param(0).setAsString(classify);
    q.param(1).setAsString(name);
    q.param(7).setAsString(mobile);
    q.param(11).setAsString(QStringLiteral("第一行\r\n第二行"));
    QCOMPARE(q.execSql(), 1);
}

void TestTableQuery::cardAndCategoryStatements()
{
    const QString dir = m_env->appDir();
    auto run = [](const QString& statement) {
        TableQuery q;
        q.setSql(statement);
        return q.execSql();
    };
    // K4, and the category table read three ways (K1, K2, K3).
    for (const QString& name : { QStringLiteral("同事"), QStringLiteral("朋友") }) {
        TableQuery q;
        q.setSql(QStringLiteral("insert into '") + dir + QStringLiteral("data\\classify.db' (classify) values(:a)"));
        q.param(0).setAsString(name);
        q.execSql();
    }
    QCOMPARE(countRows(QStringLiteral("select * from '") + dir + QStringLiteral("data/classify.db'")), 2);
    QCOMPARE(countRows(QStringLiteral("select * from '") + dir + QStringLiteral("data/classify'")), 2);
    QCOMPARE(countRows(QStringLiteral("select * from '") + dir + QStringLiteral("data\\classify.db'")), 2);

    // C5 through the bound parameters, then C1/C3 and C2.
    insertCard(QStringLiteral("同事"), QStringLiteral("张三"), QStringLiteral("13800000000"));
    insertCard(QStringLiteral("同事"), QStringLiteral("李四"), QStringLiteral("0135"));
    insertCard(QStringLiteral("朋友"), QStringLiteral("王五"));
    QCOMPARE(countRows(QStringLiteral("select * from '") + dir
                       + QStringLiteral("data/card.db' where name='张三' and classify='同事'")),
             1);
    QCOMPARE(countRows(QStringLiteral("select * from '") + dir
                       + QStringLiteral("data\\card.db' where name='张三' and classify='朋友'")),
             0);
    QCOMPARE(countRows(QStringLiteral("select * from '") + dir + QStringLiteral("data/card.db' where classify='同事'")),
             2);

    // C9: a prefix, with the typed text as it stands.
    QCOMPARE(
        countRows(QStringLiteral("select * from '") + dir + QStringLiteral("data/card.db' where  mobile like '13%'")),
        1);
    QCOMPARE(
        countRows(QStringLiteral("select * from '") + dir + QStringLiteral("data/card.db' where  name like '_四%'")),
        1);

    // C6 on one row by num, C7 rename cascade, C8 delete cascade, C4 by num.
    TableQuery q;
    q.setSql(QStringLiteral("select * from '") + dir
             + QStringLiteral("data\\card.db' where name='王五' and classify='朋友'"));
    q.open();
    const QString num = q.fieldAsString(QStringLiteral("num"));
    QCOMPARE(q.fieldAsString(QStringLiteral("memo")), QStringLiteral("第一行\r\n第二行"));
    q.setSql(QStringLiteral("update '") + dir
             + QStringLiteral("data\\card.db' set classify=:a,name=:b,netname=:c,qq=:d,msn=:e,uc=:f,email=:g,mobile=:h,"
                              "tel=:i,home=:j,address=:k,memo=:l where num='")
             + num + QLatin1Char('\''));
    for (int i = 0; i < 12; ++i)
        q.param(i).setAsString(QStringLiteral("v%1").arg(i));
    QCOMPARE(q.execSql(), 1);

    q.setSql(QStringLiteral("update '") + dir + QStringLiteral("data\\card.db' set classify=:a where classify='同事'"));
    q.param(0).setAsString(QStringLiteral("旧同事"));
    QCOMPARE(q.execSql(), 2);
    q.setSql(QStringLiteral("update '") + dir + QStringLiteral("data\\classify.db' set classify=:a where num='1'"));
    q.param(0).setAsString(QStringLiteral("旧同事"));
    QCOMPARE(q.execSql(), 1);

    QCOMPARE(run(QStringLiteral("delete from '") + dir + QStringLiteral("data\\card.db' where classify='旧同事'")), 2);
    QCOMPARE(run(QStringLiteral("delete from '") + dir + QStringLiteral("data\\classify.db' where num='1'")), 1);
    QCOMPARE(run(QStringLiteral("delete from '") + dir + QStringLiteral("data\\card.db' where num='") + num
                 + QLatin1Char('\'')),
             1);
    QCOMPARE(countRows(QStringLiteral("select * from '") + dir + QStringLiteral("data\\card.db'")), 0);
    QCOMPARE(countRows(QStringLiteral("select * from '") + dir + QStringLiteral("data\\classify.db'")), 1);
}

void TestTableQuery::quotesInValuesStayOneLiteral_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("apostrophe") << QStringLiteral("O'Brien");
    QTest::newRow("always true") << QStringLiteral("x' or '1'='1");
    QTest::newRow("comment") << QStringLiteral("x'; --");
    QTest::newRow("lone quote") << QStringLiteral("'");
}

void TestTableQuery::quotesInValuesStayOneLiteral()
{
    QFETCH(QString, name);
    insertCard(QStringLiteral("同事"), QStringLiteral("张三"));
    insertCard(QStringLiteral("同事"), name);
    const QString dir = m_env->appDir();
    const QString where
        = QStringLiteral("' where name='") + safeLiteral(name) + QStringLiteral("' and classify='同事'");
    TableQuery q;
    q.setSql(QStringLiteral("select * from '") + dir + QStringLiteral("data/card.db") + where);
    q.open();
    QCOMPARE(q.recordCount(), 1);
    QCOMPARE(q.fieldAsString(QStringLiteral("name")), name);

    q.setSql(QStringLiteral("delete from '") + dir + QStringLiteral("data\\card.db' where name='") + safeLiteral(name)
             + QLatin1Char('\''));
    QCOMPARE(q.execSql(), 1);
    q.setSql(QStringLiteral("select * from '") + dir + QStringLiteral("data\\card.db'"));
    q.open();
    QCOMPARE(q.recordCount(), 1);
    QCOMPARE(q.fieldAsString(QStringLiteral("name")), QStringLiteral("张三"));
}

void TestTableQuery::brokenFilesAreErrorsAndLeftUntouched_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("foreignSchema");
    QTest::newRow("text file") << QByteArray("this is not a table\n") << QString();
    QTest::newRow("random bytes") << QByteArray(4096, '\x5a') << QString();
    QTest::newRow("foreign database") << QByteArray() << QStringLiteral("create table other(x)");
    QTest::newRow("table without its columns")
        << QByteArray() << QStringLiteral("create table time(num integer, hint text)");
}

void TestTableQuery::brokenFilesAreErrorsAndLeftUntouched()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, foreignSchema);
    const QString file = m_env->path(QStringLiteral("data/time.db"));
    if (foreignSchema.isEmpty()) {
        m_env->writeFile(QStringLiteral("data/time.db"), content);
    } else {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("make"));
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QSqlQuery(foreignSchema, db);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("make"));
    }
    const QByteArray before = fileHash(file);
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            countRows(ReminderTable::selectAll(time()));
            QFAIL("a broken table file must be an error");
        } catch (const AppError& error) {
            QVERIFY2(error.text().contains(QStringLiteral("time.db")), qPrintable(error.text()));
        }
    }
    QCOMPARE(fileHash(file), before);
}

// A crash while the file was first created: the engine rolls the file back to nothing, which is a missing table, not
// a foreign file.
void TestTableQuery::tableCutShortAtCreationIsCreated()
{
    const QString problem = makeCrashImage(
        m_env->path(QStringLiteral("data/time.db")), {},
        { TableSchema::createStatement(QStringLiteral("time")),
          QStringLiteral("INSERT INTO time (content) WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n "
                         "WHERE x < 100) SELECT printf('%0500d', x) FROM n") });
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(countRows(ReminderTable::selectAll(time())), 0);
    TableQuery insert;
    insert.setSql(ReminderTable::insert(time()));
    insert.param(3).setAsString(QStringLiteral("喝水"));
    QCOMPARE(insert.execSql(), 1);
    QCOMPARE(countRows(ReminderTable::selectAll(time())), 1);
}

void TestTableQuery::fieldsReadAsTheDriverGivesThem_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("text");
    QTest::newRow("text") << QStringLiteral("'张三 O''Brien'") << QStringLiteral("张三 O'Brien");
    QTest::newRow("empty text") << QStringLiteral("''") << QString();
    QTest::newRow("NULL") << QStringLiteral("null") << QString();
    QTest::newRow("integer") << QStringLiteral("-9007199254740993") << QStringLiteral("-9007199254740993");
    QTest::newRow("real") << QStringLiteral("0.1") << QStringLiteral("0.1");
    QTest::newRow("whole real") << QStringLiteral("2.0") << QStringLiteral("2");
    QTest::newRow("large real") << QStringLiteral("1e20") << QStringLiteral("1e+20");
    QTest::newRow("blob of UTF-8") << QStringLiteral("x'e5bca0'") << QStringLiteral("张");
    QTest::newRow("line breaks") << QStringLiteral("'a'||char(13,10)||'b'") << QStringLiteral("a\r\nb");
}

// Other programs may store anything; a field reads as the text Qt's own driver would give for it.
void TestTableQuery::fieldsReadAsTheDriverGivesThem()
{
    QFETCH(QString, expression);
    QFETCH(QString, text);
    TableQuery q;
    insertCard(QStringLiteral("朋友"), QStringLiteral("张三"));
    q.setSql(QStringLiteral("select num, ") + expression + QStringLiteral(" as x from '") + card() + QLatin1Char('\''));
    q.open();
    QCOMPARE(q.recordCount(), 1);
    QCOMPARE(q.fieldAsString(QStringLiteral("x")), text);

    QSqlQuery driver(TableFiles::connection(TableFiles::resolve(card())));
    QVERIFY(driver.exec(QStringLiteral("select ") + expression));
    QVERIFY(driver.next());
    QCOMPARE(q.fieldAsString(QStringLiteral("x")), driver.value(0).toString());
}

void TestTableQuery::unsetParameterIsNull()
{
    // A parameter never set, or set to a null text, is NULL; an empty text is a value.
    insertCard(QStringLiteral("朋友"), QStringLiteral("张三"));
    TableQuery q;
    q.setSql(QStringLiteral("select * from '") + card() + QStringLiteral("' where coalesce(:a,'null')='null'"));
    q.open();
    QCOMPARE(q.recordCount(), 1);
    q.param(0).setAsString(QString());
    q.open();
    QCOMPARE(q.recordCount(), 1);
    q.param(0).setAsString(QLatin1String(""));
    q.open();
    QCOMPARE(q.recordCount(), 0);
}

void TestTableQuery::badStatementCarriesEngineText()
{
    TableQuery q;
    q.setSql(QStringLiteral("select * from '") + time() + QStringLiteral("' where nosuchcolumn=1"));
    try {
        q.open();
        QFAIL("expected an engine error");
    } catch (const AppError& error) {
        QVERIFY2(error.text().contains(QStringLiteral("nosuchcolumn")), qPrintable(error.text()));
    }
    QVERIFY(!q.isActive());
}

void TestTableQuery::lockedTableWaitsThenFails_data()
{
    QTest::addColumn<int>("lockMs"); // how long another program holds the table
    QTest::addColumn<int>("lockWait"); // the query's wait; 0 for the default of a user's own statement
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QList<bool>>("indicator");
    QTest::newRow("user's save, lock ends in time") << 800 << 0 << true << QList<bool>{ true, false };
    QTest::newRow("user's save, lock outlasts the wait") << 3500 << 0 << false << QList<bool>{ true, false };
    QTest::newRow("once-a-second path gives up unseen") << 1500 << 50 << false << QList<bool>{};
}

void TestTableQuery::lockedTableWaitsThenFails()
{
    QFETCH(int, lockMs);
    QFETCH(int, lockWait);
    QFETCH(bool, stored);
    QFETCH(QList<bool>, indicator);
    const QString table = m_env->path(QStringLiteral("data/time.db"));
    QCOMPARE(countRows(ReminderTable::selectAll(table)), 0);
    QList<bool> shown;
    TableQuery::setLockWaitIndicator([&shown](bool waiting) { shown << waiting; });

    QProcess writer;
    writer.start(QStringLiteral("sqlite3"), { table });
    QVERIFY(writer.waitForStarted());
    writer.write(
        QStringLiteral("BEGIN EXCLUSIVE;\n.print locked\n.shell sleep %1\nCOMMIT;\n").arg(lockMs / 1000.0).toUtf8());
    writer.closeWriteChannel();
    QVERIFY(writer.waitForReadyRead(5000));

    TableQuery insert;
    if (lockWait)
        insert.setLockWait(lockWait);
    insert.setSql(ReminderTable::insert(table));
    ReminderTable::bindValues(insert, Reminder{});
    bool locked = false;
    try {
        insert.execSql();
    } catch (const TableFiles::TableLocked& error) {
        locked = true;
        QVERIFY(error.text().contains(QStringLiteral("locked")));
    }
    TableQuery::setLockWaitIndicator({});
    QVERIFY(writer.waitForFinished(10000));
    QCOMPARE(!locked, stored);
    QCOMPARE(shown, indicator);
    QCOMPARE(countRows(ReminderTable::selectAll(table)), stored ? 1 : 0);
}

// A select run again reads into the buffers of the result it replaces; nothing of the old rows may show through
// when the new result is smaller. (A larger one gets fresh buffers.) The table is large enough (over a megabyte) for
// the buffers to be handed on.
void TestTableQuery::selectRunAgainReadsOnlyItsOwnRows()
{
    auto content = [](int row) { return QString(4000, QChar(u'a' + row % 26)) + QString::number(row); };
    {
        TableQuery create;
        create.setSql(ReminderTable::selectAll(time()));
        create.open();
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
        db.setDatabaseName(m_env->path(QStringLiteral("data/time.db")));
        QVERIFY(db.open());
        QVERIFY(db.transaction());
        QSqlQuery insert(db);
        QVERIFY(insert.prepare(QStringLiteral("insert into time (num, hint, content) values (?, '是', ?)")));
        for (int row = 1; row <= 300; ++row) {
            insert.bindValue(0, row);
            insert.bindValue(1, content(row));
            QVERIFY(insert.exec());
        }
        QVERIFY(db.commit());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));

    TableQuery q;
    const QString table = safeLiteral(time());
    const QList<std::pair<int, int>> ranges{ { 1, 300 }, { 298, 300 }, { 2, 1 }, { 1, 300 }, { 151, 300 }, { 1, 300 } };
    for (const auto& [first, last] : ranges) {
        q.setSql(QStringLiteral("select * from '%1' where num between %2 and %3 order by num")
                     .arg(table)
                     .arg(first)
                     .arg(last));
        q.open();
        QCOMPARE(q.recordCount(), qMax(0, last - first + 1));
        for (int row = first; !q.eof(); q.next(), ++row) {
            QCOMPARE(q.fieldAsString(QStringLiteral("num")), QString::number(row));
            QCOMPARE(q.fieldAsString(QStringLiteral("content")), content(row));
            QCOMPARE(q.fieldAsString(QStringLiteral("sound")), QString());
        }
        if (first > last)
            QCoreApplication::processEvents(); // the spare goes back to the system; the next read starts afresh
    }
}

QTEST_GUILESS_MAIN(TestTableQuery)
#include "TestTableQuery.moc"
