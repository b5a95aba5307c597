#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

/// One parameter of a statement (":a" … ":l", ":today"), set as text, date or time.
class TableParam
{
public:
    explicit TableParam(QString name = {})
        : m_name(std::move(name))
    { }
    const QString& name() const { return m_name; }
    void setAsString(const QString& value) { m_value = value; }
    /// Only the calendar date counts.
    void setAsDate(const QDate& date);
    void setAsDate(const QDateTime& dateTime) { setAsDate(dateTime.date()); }
    /// Only the time of day counts, to the second.
    void setAsTime(const QTime& time);
    void setAsTime(const QDateTime& dateTime) { setAsTime(dateTime.time()); }
    /// The value as stored; a null QVariant when never set.
    const QVariant& value() const { return m_value; }

private:
    QString m_name;
    QVariant m_value;
};

struct sqlite3_stmt;

/// One row of TableQuery::scan(), read from the engine as it steps: valid only while the visitor runs.
class TableRow
{
public:
    /// The field's place in the row; throws AppError for a name the result does not have.
    int column(const QString& name) const;
    /// The field's text as the table stores it, in UTF-8; a null view for an SQL NULL. Valid while the visitor runs.
    QByteArrayView text(int column) const;
    /// The field as TableQuery::fieldAsString() gives it.
    QString string(int column) const;
    /// The field as TableQuery::fieldAsDateTime() gives it.
    QDateTime dateTime(int column) const;

private:
    friend class TableQuery;
    TableRow(sqlite3_stmt* statement, const QStringList& fields, const QVector<int>& kinds,
             const QVector<bool>& textual);
    QString rawText(int column) const;

    sqlite3_stmt* m_statement;
    const QStringList& m_fields;
    const QVector<int>& m_kinds;
    const QVector<bool>& m_textual;
    mutable QVector<QByteArray> m_numbers; ///< the text of a number the engine gave as a float, per column
};

/// A query over the local tables: the statement is text naming its table by a quoted full path
/// ("select * from '/…/data/time.db' where …"), parameters are bound by position or by name, and a select's rows
/// are walked with a forward cursor. A select reads its rows at once, so no lock is held while they are walked;
/// they are kept as the engine's text, all of them in one buffer, and a field becomes a QString only when read.
/// Every engine failure throws AppError with the engine's text; a table another program keeps locked longer than
/// the query waits throws TableFiles::TableLocked.
class TableQuery : public QObject
{
    Q_OBJECT
public:
    explicit TableQuery(QObject* parent = nullptr);
    ~TableQuery() override;

    /// The longest wait for a table another program holds locked. A user's own statements wait up to
    /// kUserLockWaitMs; the once-a-second paths set a wait short enough never to hold up the program.
    void setLockWait(int ms) { m_lockWaitMs = ms; }
    int lockWait() const { return m_lockWaitMs; }
    static constexpr int kUserLockWaitMs = 2000;
    /// A lock still held after this long is shown to the user: the wait indicator comes on until the statement
    /// ends.
    static constexpr int kQuietLockWaitMs = 150;
    /// Called with true when a statement starts waiting visibly for a locked table, and with false when it ends.
    static void setLockWaitIndicator(std::function<void(bool waiting)> indicator);

    /// Closes an open result; harmless when closed.
    void close();
    void clearSql();
    /// Adds one line to the statement; lines are joined with a line break.
    void addSql(const QString& line);
    /// Replaces the statement by one line.
    void setSql(const QString& statement);
    QString sql() const;

    int paramCount() const;
    TableParam& param(int index);
    TableParam& paramByName(const QString& name);

    /// Runs a select; the cursor stands on the first row.
    void open();
    /// Runs an insert, update or delete; on disk when it returns. Returns the rows it touched.
    int execSql();

    /// Runs a select and hands each row to `visit` as the engine reads it, keeping none of them, so a large table
    /// costs no memory; for a statement run every second. The statement is prepared once and kept with the table's
    /// connection, which stays open between scans. The table is locked for reading while the rows are walked, so
    /// `visit` only looks at them. Leaves the query closed; throws as open() does.
    void scan(const std::function<void(const TableRow& row)>& visit);

    bool isActive() const { return m_active; }
    bool eof() const;
    void first();
    void next();
    int recordCount() const;
    /// The cursor's row, 0-based; -1 when the result is empty or closed.
    int recNo() const;
    void setRecNo(int row);

    /// The field names of the open result, in table order.
    QStringList fieldNames() const;
    /// The current row's field as text: empty when empty; dates and times in the short date and long time formats.
    QString fieldAsString(const QString& name) const;
    QDateTime fieldAsDateTime(const QString& name) const;
    /// Any row's field as text, for grids.
    QString displayText(int row, const QString& name) const;

signals:
    /// The result was opened, closed or re-run.
    void resultChanged();
    /// The cursor moved.
    void currentRowChanged(int row);

private:
    void parse();
    int fieldIndex(const QString& name) const;
    QString formatValue(int row, int column) const;
    /// The field's text as stored; null for an SQL NULL.
    QString rawText(int row, int column) const;
    template <typename Attempt> auto waitingForLocks(Attempt attempt);
    struct Prepared;
    /// The statement's connection, opened or checked for this run.
    Prepared prepare(int lockWaitMs);
    void keepSpare();

    QStringList m_lines;
    QString m_table; ///< the table the open result came from
    QString m_rewritten; ///< the statement as the engine gets it
    QString m_filePath; ///< the table file the statement names
    /// The table file, its table and the statement as the engine gets them, worked out at the first run after a
    /// parse.
    struct Target
    {
        QString filePath;
        QString table;
        QString statement;
    };
    std::optional<Target> m_target;
    QVector<TableParam> m_params;
    QStringList m_fields;
    QVector<int> m_kinds; ///< TableSchema::ColumnKind of each field
    QByteArray m_text; ///< every field of every row, UTF-8, back to back
    /// Where each field (row by row, then column by column) ends in m_text; kNullField marks an SQL NULL.
    std::vector<quint32> m_ends;
    /// The buffers of the result closed last, for the next read to reuse; given back when the event loop runs.
    QByteArray m_spareText;
    std::vector<quint32> m_spareEnds;
    bool m_spareRelease = false;
    /// Closed results smaller than this give their buffers back at once.
    static constexpr qsizetype kSpareBytes = 1 << 20;
    int m_rowCount = 0;
    int m_row = -1;
    bool m_active = false;
    bool m_parsed = false;
    int m_lockWaitMs = kUserLockWaitMs;
};
