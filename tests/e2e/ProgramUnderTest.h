#pragma once

#include <QDateTime>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

/// A copy of the built program folder in a temporary directory, and the real program started from it on the test's
/// X display (tests/tools/with-desktop.sh provides one). Every copy has its own runtime folder, so its
/// single-instance lock never meets another test's.
class ProgramUnderTest
{
public:
    ProgramUnderTest();
    ~ProgramUnderTest();

    QString appDir() const; ///< with a trailing "/"
    QString path(const QString& relative) const { return appDir() + relative; }
    void writeFile(const QString& relative, const QByteArray& content) const;
    QByteArray readFile(const QString& relative) const;
    /// Runs the sqlite3 tool on a table file of the copy; returns its output.
    QString sqlite(const QString& relativeTable, const QString& statement) const;
    /// The reminder table's columns as the sqlite3 tool creates them in data/time.db, the way another program would.
    static QString reminderTableSql();
    /// The start of the whole second `seconds` from now: a moment to make a reminder due at.
    static QDateTime wholeSecondsAhead(int seconds);
    /// The statement that adds one active one-time reminder due at `due` (to the second).
    static QString reminderRowSql(const QDateTime& due, const QString& content, const QString& sound = {},
                                  const QString& program = {}, const QString& dispear = {});

    /// Starts one more copy of the program. Returns its index.
    int start(const QStringList& arguments = {}, const QStringList& extraEnvironment = {});
    QProcess& process(int index) { return *m_processes.at(index); }
    qint64 pid(int index) const { return m_processes.at(index)->processId(); }
    /// Everything the copy wrote to its standard error so far.
    QString errorOutput(int index);

    /// Copies a folder with everything in it, keeping each file's permissions.
    static void copyTree(const QString& from, const QString& to);

    /// A pattern for windows(): the window titled exactly so.
    static QString titled(const QString& title);
    /// The X windows whose title matches the (Perl-style) regular expression, with or without the program's name
    /// that Qt puts after it ("更新 — Vantrel"); waits up to timeoutMs for at least one.
    static QStringList waitForWindows(const QString& titlePattern, int timeoutMs);
    static QStringList windows(const QString& titlePattern);
    /// Sends a key (xdotool name, e.g. "Return") to a window.
    static bool sendKey(const QString& windowId, const QString& key);
    /// Waits until a condition holds, running the event loop; false on time-out.
    template <typename F> static bool waitFor(F condition, int timeoutMs);

    /// Kills a copy at once (as a crash would) and waits for it.
    void kill(int index);

private:
    static bool poll(const std::function<bool()>& condition, int timeoutMs);

    QTemporaryDir m_dir;
    QTemporaryDir m_runtime;
    QList<QProcess*> m_processes;
    QStringList m_stderr;
};

template <typename F> bool ProgramUnderTest::waitFor(F condition, int timeoutMs)
{
    return poll(std::function<bool()>(condition), timeoutMs);
}
