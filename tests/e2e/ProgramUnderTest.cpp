#include "ProgramUnderTest.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

void ProgramUnderTest::copyTree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        if (it.fileInfo().isDir()) {
            QDir().mkpath(target);
        } else {
            QDir().mkpath(QFileInfo(target).absolutePath());
            QFile::copy(source, target);
            QFile::setPermissions(target, QFile::permissions(source));
        }
    }
}

namespace {

QString run(const QString& program, const QStringList& arguments, const QByteArray& input = {})
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForStarted(5000))
        return {};
    if (!input.isEmpty())
        p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(15000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

ProgramUnderTest::ProgramUnderTest()
{
    copyTree(QStringLiteral(VANTREL_APP_DIR), m_dir.path());
    // A test starts from a clean program folder, whatever a manual run left in the build.
    for (const char* leftover : { "helper.ini", "content.dat", "Card.txt" })
        QFile::remove(m_dir.filePath(QString::fromLatin1(leftover)));
    QDir(m_dir.filePath(QStringLiteral("data"))).removeRecursively();
    QDir(m_dir.path()).mkpath(QStringLiteral("data"));
}

ProgramUnderTest::~ProgramUnderTest()
{
    for (int i = 0; i < m_processes.size(); ++i) {
        QProcess* p = m_processes.at(i);
        if (p->state() != QProcess::NotRunning) {
            p->kill();
            p->waitForFinished(5000);
        }
        delete p;
    }
}

QString ProgramUnderTest::appDir() const
{
    return m_dir.path() + QLatin1Char('/');
}

void ProgramUnderTest::writeFile(const QString& relative, const QByteArray& content) const
{
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile f(full);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(content);
}

QByteArray ProgramUnderTest::readFile(const QString& relative) const
{
    QFile f(path(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString ProgramUnderTest::reminderTableSql()
{
    return QStringLiteral(
        "CREATE TABLE \"time\" (num INTEGER PRIMARY KEY AUTOINCREMENT, hint TEXT, hintdate TEXT, hinttime TEXT, "
        "content TEXT, sound TEXT, frequency TEXT, program TEXT, dispear TEXT);");
}

QDateTime ProgramUnderTest::wholeSecondsAhead(int seconds)
{
    const QDateTime now = QDateTime::currentDateTime();
    return now.addSecs(seconds).addMSecs(-now.time().msec());
}

QString ProgramUnderTest::reminderRowSql(const QDateTime& due, const QString& content, const QString& sound,
                                         const QString& program, const QString& dispear)
{
    return QStringLiteral("INSERT INTO \"time\" (hint,hintdate,hinttime,content,sound,frequency,program,dispear) "
                          "VALUES ('是','%1','%2','%3','%4','指定时间','%5','%6');\n")
        .arg(due.toString(QStringLiteral("yyyy-MM-dd")), due.toString(QStringLiteral("HH:mm:ss")), content, sound,
             program, dispear);
}

QString ProgramUnderTest::sqlite(const QString& relativeTable, const QString& statement) const
{
    return run(QStringLiteral("sqlite3"), { path(relativeTable) }, statement.toUtf8());
}

int ProgramUnderTest::start(const QStringList& arguments, const QStringList& extraEnvironment)
{
    auto* p = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    // Whatever a test leaves in helper.ini, the real program must never switch this machine off.
    env.insert(QStringLiteral("VANTREL_POWEROFF_COMMAND"), QStringLiteral("true"));
    for (const QString& entry : extraEnvironment) {
        const qsizetype eq = entry.indexOf(QLatin1Char('='));
        env.insert(entry.left(eq), entry.mid(eq + 1));
    }
    p->setProcessEnvironment(env);
    p->setWorkingDirectory(m_dir.path());
    p->start(path(QStringLiteral("vantrel")), arguments);
    p->waitForStarted(10000);
    m_processes.append(p);
    m_stderr.append(QString());
    return int(m_processes.size() - 1);
}

QString ProgramUnderTest::errorOutput(int index)
{
    m_stderr[index] += QString::fromUtf8(m_processes.at(index)->readAllStandardError());
    return m_stderr.at(index);
}

QString ProgramUnderTest::titled(const QString& title)
{
    return QLatin1Char('^') + QRegularExpression::escape(title) + QStringLiteral("( — Vantrel)?$");
}

QStringList ProgramUnderTest::windows(const QString& titlePattern)
{
    // Only mapped windows count: a hidden Qt window keeps its X window. Titles are matched here, on the title as
    // getwindowname reads it: xdotool's own name search misses titles a program set under some locales.
    const QRegularExpression pattern(titlePattern);
    QStringList found;
    const QStringList ids = run(QStringLiteral("xdotool"),
                                { QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                  QStringLiteral("") })
                                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& id : ids) {
        QString name = run(QStringLiteral("xdotool"), { QStringLiteral("getwindowname"), id });
        if (name.endsWith(QLatin1Char('\n')))
            name.chop(1);
        // Qt puts the program's name after the titles of all but its main window; a pattern may leave it out.
        static const QString suffix = QStringLiteral(" — Vantrel");
        const QString bare = name.endsWith(suffix) ? name.chopped(suffix.size()) : name;
        if (pattern.match(name).hasMatch() || pattern.match(bare).hasMatch())
            found << id;
    }
    return found;
}

QStringList ProgramUnderTest::waitForWindows(const QString& titlePattern, int timeoutMs)
{
    QStringList found;
    poll([&] { return !(found = windows(titlePattern)).isEmpty(); }, timeoutMs);
    return found;
}

bool ProgramUnderTest::sendKey(const QString& windowId, const QString& key)
{
    run(QStringLiteral("xdotool"), { QStringLiteral("windowfocus"), QStringLiteral("--sync"), windowId });
    QProcess p;
    p.start(QStringLiteral("xdotool"), { QStringLiteral("key"), QStringLiteral("--window"), windowId, key });
    return p.waitForFinished(5000) && p.exitCode() == 0;
}

void ProgramUnderTest::kill(int index)
{
    QProcess* p = m_processes.at(index);
    p->kill();
    p->waitForFinished(5000);
}

bool ProgramUnderTest::poll(const std::function<bool()>& condition, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(100);
    }
    return true;
}
