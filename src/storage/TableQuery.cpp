#include "TableQuery.h"

#include "TableFiles.h"
#include "TableSchema.h"
#include "platform/AppError.h"
#include "text/DateFormats.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>
#include <cstring>
#include <sqlite3.h>

void TableParam::setAsDate(const QDate& date)
{
    m_value = date.isValid() ? QVariant(date.toString(QStringLiteral("yyyy-MM-dd"))) : QVariant(QString());
}

void TableParam::setAsTime(const QTime& time)
{
    m_value = time.isValid() ? QVariant(time.toString(QStringLiteral("HH:mm:ss"))) : QVariant(QString());
}

namespace {

std::function<void(bool)>& lockWaitIndicator()
{
    static std::function<void(bool)> indicator;
    return indicator;
}

constexpr quint32 kNullField = 0x80000000u;
constexpr qsizetype kMaxResultBytes = 0x7fffffff;

/// A field's text as fieldAsString() gives it, from its text as stored (null for an SQL NULL).
QString formatted(int kind, const QString& text)
{
    if (text.isNull())
        return {};
    switch (TableSchema::ColumnKind(kind)) {
    case TableSchema::ColumnKind::Date: {
        const QDate d = DateFormats::parseShortDate(text);
        return d.isValid() ? DateFormats::shortDate(d) : text;
    }
    case TableSchema::ColumnKind::Time: {
        const QTime t = DateFormats::parseLongTime(text);
        return t.isValid() ? DateFormats::longTime(t) : text;
    }
    case TableSchema::ColumnKind::Key:
    case TableSchema::ColumnKind::Text:
        break;
    }
    return text;
}

/// A field as fieldAsDateTime() gives it, from its text as stored.
QDateTime asDateTime(int kind, const QString& text)
{
    switch (TableSchema::ColumnKind(kind)) {
    case TableSchema::ColumnKind::Date: {
        const QDate d = DateFormats::parseShortDate(text);
        return d.isValid() ? QDateTime(d, QTime(0, 0)) : QDateTime();
    }
    case TableSchema::ColumnKind::Time: {
        const QTime t = DateFormats::parseLongTime(text);
        return t.isValid() ? QDateTime(DateFormats::dayZero(), t) : QDateTime();
    }
    case TableSchema::ColumnKind::Key:
    case TableSchema::ColumnKind::Text:
        break;
    }
    return DateFormats::parseDateTime(text);
}

int indexOfField(const QStringList& fields, const QString& name)
{
    for (int i = 0; i < fields.size(); ++i) {
        if (fields.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    throw AppError(QStringLiteral("找不到字段“%1”。").arg(name));
}

[[noreturn]] void failStatement(const QString& filePath, const QSqlError& error)
{
    const QString text = QStringLiteral("数据表 %1 出错：%2").arg(filePath, error.text());
    if (TableFiles::isLockError(error))
        throw TableFiles::TableLocked(text);
    throw AppError(text);
}

} // namespace

void TableQuery::setLockWaitIndicator(std::function<void(bool waiting)> indicator)
{
    lockWaitIndicator() = std::move(indicator);
}

// A statement that found its table locked has changed nothing, so it is simply tried again: first briefly and
// unseen, then with the wait indicator on for the rest of the query's wait.
template <typename Attempt> auto TableQuery::waitingForLocks(Attempt attempt)
{
    if (m_lockWaitMs <= kQuietLockWaitMs)
        return attempt(m_lockWaitMs);
    try {
        return attempt(kQuietLockWaitMs);
    } catch (const TableFiles::TableLocked&) { }
    struct Indicator
    {
        Indicator()
        {
            if (lockWaitIndicator())
                lockWaitIndicator()(true);
        }
        ~Indicator()
        {
            if (lockWaitIndicator())
                lockWaitIndicator()(false);
        }
    } indicator;
    return attempt(m_lockWaitMs - kQuietLockWaitMs);
}

TableQuery::TableQuery(QObject* parent)
    : QObject(parent)
{ }

TableQuery::~TableQuery() = default;

void TableQuery::close()
{
    const bool wasActive = m_active;
    m_active = false;
    keepSpare();
    m_rowCount = 0;
    m_fields.clear();
    m_kinds.clear();
    m_row = -1;
    if (wasActive)
        emit resultChanged();
}

// A window that runs its select again (a search, a list reloaded after a change) closes the old result just before
// it reads the new one. Handing the old buffers to the new read spares the system clearing and mapping as many fresh
// pages again; a buffer nobody took back is given back to the system as soon as the event loop runs.
void TableQuery::keepSpare()
{
    m_text.resize(0);
    m_ends.clear();
    if (m_text.capacity() < kSpareBytes) {
        m_text = QByteArray();
        m_ends = {}; // gives the memory back, as clear() would not
        return;
    }
    m_spareText = std::move(m_text);
    m_spareEnds = std::move(m_ends);
    m_text = QByteArray();
    m_ends = {};
    if (!m_spareRelease) {
        m_spareRelease = true;
        QTimer::singleShot(0, this, [this] {
            m_spareRelease = false;
            m_spareText = QByteArray();
            m_spareEnds = {};
        });
    }
}

void TableQuery::clearSql()
{
    close();
    m_lines.clear();
    m_parsed = false;
    m_params.clear();
}

void TableQuery::addSql(const QString& line)
{
    close();
    m_lines << line;
    m_parsed = false;
    parse();
}

void TableQuery::setSql(const QString& statement)
{
    clearSql();
    addSql(statement);
}

QString TableQuery::sql() const
{
    return m_lines.join(QLatin1Char('\n'));
}

namespace {

bool isIdentChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

} // namespace

// Finds the quoted table path after from/into/update and the named parameters outside literals. Literals are
// passed to the engine as they are, so a value between quotes is always one literal.
void TableQuery::parse()
{
    const QString text = sql();
    QVector<TableParam> params;
    QString rewritten;
    QString tablePath;
    QString lastWord;
    bool tableFound = false;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text.at(i);
        if (c == u'\'') {
            qsizetype j = i + 1;
            QString literal;
            while (j < text.size()) {
                if (text.at(j) == u'\'') {
                    if (j + 1 < text.size() && text.at(j + 1) == u'\'') {
                        literal += u'\'';
                        j += 2;
                        continue;
                    }
                    break;
                }
                literal += text.at(j);
                ++j;
            }
            const qsizetype end = qMin(j + 1, text.size());
            const QString word = lastWord.toLower();
            if (!tableFound && (word == u"from" || word == u"into" || word == u"update")) {
                tableFound = true;
                tablePath = literal;
                rewritten += QStringLiteral("\x01TABLE\x01");
            } else {
                rewritten += text.mid(i, end - i);
            }
            lastWord.clear();
            i = end;
            continue;
        }
        if (c == u':' && i + 1 < text.size() && (text.at(i + 1).isLetter() || text.at(i + 1) == u'_')) {
            qsizetype j = i + 1;
            while (j < text.size() && isIdentChar(text.at(j)))
                ++j;
            params.append(TableParam(text.mid(i + 1, j - i - 1)));
            rewritten += u'?';
            lastWord.clear();
            i = j;
            continue;
        }
        if (isIdentChar(c)) {
            qsizetype j = i;
            while (j < text.size() && isIdentChar(text.at(j)))
                ++j;
            lastWord = text.mid(i, j - i);
            rewritten += lastWord;
            i = j;
            continue;
        }
        if (!c.isSpace())
            lastWord.clear();
        rewritten += c;
        ++i;
    }
    // Keep values already bound to parameters of the same name, as a re-set statement would.
    for (TableParam& p : params) {
        for (const TableParam& old : std::as_const(m_params)) {
            if (old.name().compare(p.name(), Qt::CaseInsensitive) == 0 && old.value().isValid()) {
                p = old;
                break;
            }
        }
    }
    m_params = params;
    m_rewritten = rewritten;
    m_filePath = tableFound ? tablePath : QString();
    m_target.reset();
    m_parsed = true;
}

int TableQuery::paramCount() const
{
    return int(m_params.size());
}

TableParam& TableQuery::param(int index)
{
    if (index < 0 || index >= m_params.size())
        throw AppError(QStringLiteral("参数序号 %1 超出范围（语句只有 %2 个参数）。").arg(index).arg(m_params.size()));
    return m_params[index];
}

TableParam& TableQuery::paramByName(const QString& name)
{
    for (TableParam& p : m_params) {
        if (p.name().compare(name, Qt::CaseInsensitive) == 0)
            return p;
    }
    throw AppError(QStringLiteral("找不到参数“%1”。").arg(name));
}

namespace {

void bindAll(QSqlQuery& q, const QVector<TableParam>& params)
{
    for (int i = 0; i < params.size(); ++i) {
        const QVariant& v = params.at(i).value();
        q.bindValue(i, v.isValid() ? v : QVariant(QString()));
    }
}

} // namespace

namespace {

/// The result of a select, as read from the engine: every field's text back to back in one buffer, written without
/// the checks a general-purpose container makes on every append, and where each field ends.
struct Rows
{
    QStringList fields;
    QByteArray text;
    qsizetype used = 0;
    std::vector<quint32> ends;
    int count = 0;

    void append(const char* data, qsizetype size, const QString& filePath)
    {
        if (size > text.size() - used)
            grow(used + size, filePath);
        memcpy(text.data() + used, data, size_t(size));
        used += size;
        ends.push_back(quint32(used));
    }
    void appendNull() { ends.push_back(quint32(used) | kNullField); }
    void grow(qsizetype needed, const QString& filePath)
    {
        if (needed > kMaxResultBytes)
            throw AppError(QStringLiteral("数据表 %1 出错：查询结果太大。").arg(filePath));
        text.resize(qMax(needed, qMin(2 * text.size(), kMaxResultBytes)));
    }
    void finish()
    {
        text.resize(used);
        if (text.size() < text.capacity() / 2)
            text.squeeze();
    }
};

// The engine's error as Qt's SQLite driver words it, so that a statement reports the same text however it ran.
QSqlError engineError(sqlite3* db, const char* what, int code)
{
    return QSqlError(QCoreApplication::translate("QSQLiteResult", what), QString::fromUtf8(sqlite3_errmsg(db)),
                     QSqlError::StatementError, QString::number(code));
}

// A select runs on the engine itself rather than through QSqlQuery: the driver turns every field into a QVariant
// holding a QString as it fetches, which for the 13 columns of 100,000 cards costs far more than reading them.
// Here a field is copied once, as the engine's UTF-8, into one buffer for the whole result.
sqlite3* engineHandle(const QSqlDatabase& connection, const QString& filePath)
{
    const QVariant handle = connection.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw AppError(QStringLiteral("数据表 %1 出错：不是 SQLite 连接。").arg(filePath));
    return *static_cast<sqlite3* const*>(handle.constData());
}

sqlite3_stmt* prepareOn(sqlite3* db, const QString& statement, const QString& filePath)
{
    sqlite3_stmt* stmt = nullptr;
    const QByteArray sql = statement.toUtf8();
    const int prepared = sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr);
    if (prepared != SQLITE_OK) {
        sqlite3_finalize(stmt);
        failStatement(filePath, engineError(db, "Unable to execute statement", prepared));
    }
    if (!stmt)
        throw AppError(QStringLiteral("数据表 %1 出错：语句为空。").arg(filePath));
    return stmt;
}

void bindOn(sqlite3* db, sqlite3_stmt* stmt, const QVector<TableParam>& params, const QString& filePath)
{
    if (sqlite3_bind_parameter_count(stmt) != params.size())
        failStatement(filePath,
                      QSqlError(QCoreApplication::translate("QSQLiteResult", "Parameter count mismatch"), QString(),
                                QSqlError::StatementError));
    for (int i = 0; i < params.size(); ++i) {
        // As the driver binds: a parameter never set, or set to a null text, is NULL.
        const QVariant& v = params.at(i).value();
        const QString text = v.toString();
        const QByteArray utf8 = text.toUtf8();
        const int bound = (!v.isValid() || text.isNull())
            ? sqlite3_bind_null(stmt, i + 1)
            : sqlite3_bind_text(stmt, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        if (bound != SQLITE_OK)
            failStatement(filePath, engineError(db, "Unable to bind parameters", bound));
    }
}

/// Whether each column of a result has text affinity. Such a column holds only text, blobs and NULLs; only the
/// others can hold a number, whose text must be the driver's and not the engine's.
QVector<bool> textualColumns(sqlite3_stmt* stmt)
{
    const int columns = sqlite3_column_count(stmt);
    QVector<bool> textual(columns);
    for (int c = 0; c < columns; ++c)
        textual[c] = qstricmp(sqlite3_column_decltype(stmt, c), "TEXT") == 0;
    return textual;
}

QStringList columnNames(sqlite3_stmt* stmt)
{
    QStringList names;
    const int columns = sqlite3_column_count(stmt);
    for (int c = 0; c < columns; ++c)
        names << QString::fromUtf8(sqlite3_column_name(stmt, c));
    return names;
}

/// The text of a number the engine holds as a float, as the driver writes it.
QByteArray floatText(sqlite3_stmt* stmt, int column)
{
    return QByteArray::number(sqlite3_column_double(stmt, column), 'g', QLocale::FloatingPointShortest);
}

/// A generic error tells its cause only once the statement is reset.
[[noreturn]] void failStep(sqlite3* db, sqlite3_stmt* stmt, int step, const QString& filePath)
{
    const int code = step == SQLITE_ERROR ? sqlite3_reset(stmt) : step;
    failStatement(filePath, engineError(db, "Unable to fetch row", code));
}

Rows readRows(const QSqlDatabase& connection, const QString& statement, const QVector<TableParam>& params,
              const QString& tableFile, const QString& filePath, Rows rows)
{
    sqlite3* db = engineHandle(connection, filePath);
    sqlite3_stmt* stmt = prepareOn(db, statement, filePath);
    const auto finalize = qScopeGuard([stmt] { sqlite3_finalize(stmt); });
    bindOn(db, stmt, params, filePath);

    // The text of a result is about the size of the table file or less: sized so at once, the buffer is seldom
    // copied as it grows, and the pages it does not use are never touched, so they cost no memory.
    const qsizetype wanted = qBound<qint64>(4096, QFileInfo(tableFile).size(), kMaxResultBytes);
    if (rows.text.size() < wanted) {
        rows.text = QByteArray(); // a spare too small would only be copied as it grows
        rows.grow(wanted, filePath);
    }
    const int columns = sqlite3_column_count(stmt);
    const QVector<bool> textual = textualColumns(stmt);
    rows.fields = columnNames(stmt);
    // The fields are read as values of the row; holding the connection's mutex (Qt's driver opens its connections
    // without one, and then this does nothing) keeps them safe to read in any threading mode.
    sqlite3_mutex* mutex = sqlite3_db_mutex(db);
    sqlite3_mutex_enter(mutex);
    const auto leave = qScopeGuard([mutex] { sqlite3_mutex_leave(mutex); });
    int step;
    while ((step = sqlite3_step(stmt)) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            if (!textual[c] && sqlite3_column_type(stmt, c) == SQLITE_FLOAT) {
                const QByteArray number = floatText(stmt, c);
                rows.append(number.constData(), number.size(), filePath);
                continue;
            }
            // The field itself, then its text and length from it: asking the statement twice costs a good part of
            // reading a large result.
            sqlite3_value* value = sqlite3_column_value(stmt, c);
            const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
            if (text)
                rows.append(text, sqlite3_value_bytes(value), filePath);
            else
                rows.appendNull();
        }
        ++rows.count;
    }
    if (step != SQLITE_DONE)
        failStep(db, stmt, step, filePath);
    rows.finish();
    return rows;
}

} // namespace

struct TableQuery::Prepared
{
    QSqlDatabase db;
    const Target& target;
};

TableQuery::Prepared TableQuery::prepare(int lockWaitMs)
{
    if (!m_target) {
        if (m_filePath.isEmpty())
            throw AppError(QStringLiteral("语句中没有数据表名。"));
        const TableFiles::Table table = TableFiles::resolve(m_filePath);
        QString statement = m_rewritten;
        statement.replace(QStringLiteral("\x01TABLE\x01"), QLatin1Char('"') + table.name + QLatin1Char('"'));
        m_target = Target{ table.filePath, table.name, statement };
    }
    return { TableFiles::connection(TableFiles::Table{ m_target->filePath, m_target->table }, lockWaitMs), *m_target };
}

void TableQuery::open()
{
    close();
    if (!m_parsed)
        parse();
    Rows rows;
    rows.text = std::exchange(m_spareText, QByteArray());
    rows.text.resize(rows.text.capacity());
    rows.ends = std::exchange(m_spareEnds, {});
    const QString table = waitingForLocks([&](int lockWaitMs) {
        Prepared p = prepare(lockWaitMs);
        rows = readRows(p.db, p.target.statement, m_params, p.target.filePath, m_filePath, std::move(rows));
        return p.target.table;
    });
    m_table = table;
    m_fields = rows.fields;
    for (const QString& field : std::as_const(m_fields))
        m_kinds.append(int(TableSchema::kind(m_table, field)));
    m_text = std::move(rows.text);
    m_ends = std::move(rows.ends);
    m_rowCount = rows.count;
    m_row = m_rowCount == 0 ? -1 : 0;
    m_active = true;
    emit resultChanged();
    emit currentRowChanged(m_row);
}

int TableQuery::execSql()
{
    close();
    if (!m_parsed)
        parse();
    return waitingForLocks([&](int lockWaitMs) {
        Prepared p = prepare(lockWaitMs);
        QSqlQuery q(p.db);
        if (!q.prepare(p.target.statement))
            failStatement(m_filePath, q.lastError());
        bindAll(q, m_params);
        if (!q.exec())
            failStatement(m_filePath, q.lastError());
        return q.numRowsAffected();
    });
}

void TableQuery::scan(const std::function<void(const TableRow& row)>& visit)
{
    close();
    if (!m_parsed)
        parse();
    waitingForLocks([&](int lockWaitMs) {
        const Prepared p = prepare(lockWaitMs);
        TableFiles::KeptStatement& kept
            = TableFiles::keptStatement(TableFiles::Table{ p.target.filePath, p.target.table }, p.target.statement);
        if (!kept.statement) {
            kept.db = engineHandle(p.db, m_filePath);
            kept.statement = prepareOn(kept.db, p.target.statement, m_filePath);
            kept.fields = columnNames(kept.statement);
            for (const QString& field : std::as_const(kept.fields))
                kept.kinds.append(int(TableSchema::kind(p.target.table, field)));
            kept.textual = textualColumns(kept.statement);
        }
        sqlite3* db = kept.db;
        sqlite3_stmt* stmt = kept.statement;
        // Reset, the statement gives up its read lock and is ready for the next scan.
        const auto reset = qScopeGuard([stmt] {
            sqlite3_reset(stmt);
            sqlite3_clear_bindings(stmt);
        });
        bindOn(db, stmt, m_params, m_filePath);
        const TableRow row(stmt, kept.fields, kept.kinds, kept.textual);

        sqlite3_mutex* mutex = sqlite3_db_mutex(db);
        sqlite3_mutex_enter(mutex);
        const auto leave = qScopeGuard([mutex] { sqlite3_mutex_leave(mutex); });
        int step;
        while ((step = sqlite3_step(stmt)) == SQLITE_ROW)
            visit(row);
        if (step != SQLITE_DONE)
            failStep(db, stmt, step, m_filePath);
        return 0;
    });
}

TableRow::TableRow(sqlite3_stmt* statement, const QStringList& fields, const QVector<int>& kinds,
                   const QVector<bool>& textual)
    : m_statement(statement)
    , m_fields(fields)
    , m_kinds(kinds)
    , m_textual(textual)
    , m_numbers(fields.size())
{ }

int TableRow::column(const QString& name) const
{
    return indexOfField(m_fields, name);
}

QByteArrayView TableRow::text(int column) const
{
    if (!m_textual.at(column) && sqlite3_column_type(m_statement, column) == SQLITE_FLOAT) {
        m_numbers[column] = floatText(m_statement, column);
        return m_numbers.at(column);
    }
    sqlite3_value* value = sqlite3_column_value(m_statement, column);
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    if (!text)
        return {};
    return QByteArrayView(text, sqlite3_value_bytes(value));
}

QString TableRow::rawText(int column) const
{
    const QByteArrayView bytes = text(column);
    if (bytes.isNull())
        return {};
    return QString::fromUtf8(bytes.data(), bytes.size());
}

QString TableRow::string(int column) const
{
    return formatted(m_kinds.at(column), rawText(column));
}

QDateTime TableRow::dateTime(int column) const
{
    return asDateTime(m_kinds.at(column), rawText(column));
}

bool TableQuery::eof() const
{
    return !m_active || m_row < 0 || m_row >= m_rowCount;
}

void TableQuery::first()
{
    m_row = m_rowCount == 0 ? -1 : 0;
    emit currentRowChanged(m_row);
}

void TableQuery::next()
{
    if (m_row >= 0 && m_row < m_rowCount)
        ++m_row;
    emit currentRowChanged(m_row < m_rowCount ? m_row : -1);
}

int TableQuery::recordCount() const
{
    return m_active ? m_rowCount : 0;
}

int TableQuery::recNo() const
{
    return (m_active && m_row >= 0 && m_row < m_rowCount) ? m_row : -1;
}

void TableQuery::setRecNo(int row)
{
    if (!m_active || row < 0 || row >= m_rowCount || row == m_row)
        return;
    m_row = row;
    emit currentRowChanged(m_row);
}

QStringList TableQuery::fieldNames() const
{
    return m_fields;
}

int TableQuery::fieldIndex(const QString& name) const
{
    return indexOfField(m_fields, name);
}

QString TableQuery::rawText(int row, int column) const
{
    const qsizetype field = qsizetype(row) * m_fields.size() + column;
    const quint32 end = m_ends.at(field);
    if (end & kNullField)
        return {};
    const quint32 begin = field == 0 ? 0 : (m_ends.at(field - 1) & ~kNullField);
    return QString::fromUtf8(m_text.constData() + begin, qsizetype(end) - begin);
}

QString TableQuery::formatValue(int row, int column) const
{
    return formatted(m_kinds.at(column), rawText(row, column));
}

QString TableQuery::fieldAsString(const QString& name) const
{
    if (eof())
        return {};
    return formatValue(m_row, fieldIndex(name));
}

QString TableQuery::displayText(int row, const QString& name) const
{
    if (!m_active || row < 0 || row >= m_rowCount)
        return {};
    return formatValue(row, fieldIndex(name));
}

QDateTime TableQuery::fieldAsDateTime(const QString& name) const
{
    if (eof())
        return {};
    const int column = fieldIndex(name);
    return asDateTime(m_kinds.at(column), rawText(m_row, column));
}
