#include "TableQuery.h"

#include "TableFiles.h"
#include "TableSchema.h"
#include "platform/AppError.h"
#include "text/DateFormats.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

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
    m_rows.clear();
    m_fields.clear();
    m_row = -1;
    if (wasActive)
        emit resultChanged();
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

struct Prepared
{
    QSqlDatabase db;
    QString table;
    QString statement;
};

Prepared prepare(const QString& filePath, const QString& rewritten, int lockWaitMs)
{
    if (filePath.isEmpty())
        throw AppError(QStringLiteral("语句中没有数据表名。"));
    const TableFiles::Table table = TableFiles::resolve(filePath);
    Prepared p{ TableFiles::connection(table, lockWaitMs), table.name, rewritten };
    p.statement.replace(QStringLiteral("\x01TABLE\x01"), QLatin1Char('"') + table.name + QLatin1Char('"'));
    return p;
}

void bindAll(QSqlQuery& q, const QVector<TableParam>& params)
{
    for (int i = 0; i < params.size(); ++i) {
        const QVariant& v = params.at(i).value();
        q.bindValue(i, v.isValid() ? v : QVariant(QString()));
    }
}

} // namespace

void TableQuery::open()
{
    close();
    if (!m_parsed)
        parse();
    QStringList fields;
    QVector<QVector<QVariant>> rows;
    const QString table = waitingForLocks([&](int lockWaitMs) {
        Prepared p = prepare(m_filePath, m_rewritten, lockWaitMs);
        QSqlQuery q(p.db);
        q.setForwardOnly(true);
        if (!q.prepare(p.statement))
            failStatement(m_filePath, q.lastError());
        bindAll(q, m_params);
        if (!q.exec())
            failStatement(m_filePath, q.lastError());
        const QSqlRecord record = q.record();
        fields.clear();
        for (int i = 0; i < record.count(); ++i)
            fields << record.fieldName(i);
        rows.clear();
        while (q.next()) {
            QVector<QVariant> row(record.count());
            for (int i = 0; i < record.count(); ++i)
                row[i] = q.value(i);
            rows.append(row);
        }
        if (q.lastError().isValid())
            failStatement(m_filePath, q.lastError());
        return p.table;
    });
    m_table = table;
    m_fields = fields;
    m_rows = rows;
    m_row = m_rows.isEmpty() ? -1 : 0;
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
        Prepared p = prepare(m_filePath, m_rewritten, lockWaitMs);
        QSqlQuery q(p.db);
        if (!q.prepare(p.statement))
            failStatement(m_filePath, q.lastError());
        bindAll(q, m_params);
        if (!q.exec())
            failStatement(m_filePath, q.lastError());
        return q.numRowsAffected();
    });
}

bool TableQuery::eof() const
{
    return !m_active || m_row < 0 || m_row >= m_rows.size();
}

void TableQuery::first()
{
    m_row = m_rows.isEmpty() ? -1 : 0;
    emit currentRowChanged(m_row);
}

void TableQuery::next()
{
    if (m_row >= 0 && m_row < m_rows.size())
        ++m_row;
    emit currentRowChanged(m_row < m_rows.size() ? m_row : -1);
}

int TableQuery::recordCount() const
{
    return m_active ? int(m_rows.size()) : 0;
}

int TableQuery::recNo() const
{
    return (m_active && m_row >= 0 && m_row < m_rows.size()) ? m_row : -1;
}

void TableQuery::setRecNo(int row)
{
    if (!m_active || row < 0 || row >= m_rows.size() || row == m_row)
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
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    throw AppError(QStringLiteral("找不到字段“%1”。").arg(name));
}

QString TableQuery::formatValue(int column, const QVariant& value) const
{
    if (value.isNull())
        return {};
    const QString text = value.toString();
    switch (TableSchema::kind(m_table, m_fields.at(column))) {
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

QString TableQuery::fieldAsString(const QString& name) const
{
    if (eof())
        return {};
    const int column = fieldIndex(name);
    return formatValue(column, m_rows.at(m_row).at(column));
}

QString TableQuery::displayText(int row, const QString& name) const
{
    if (!m_active || row < 0 || row >= m_rows.size())
        return {};
    const int column = fieldIndex(name);
    return formatValue(column, m_rows.at(row).at(column));
}

QDateTime TableQuery::fieldAsDateTime(const QString& name) const
{
    if (eof())
        return {};
    const int column = fieldIndex(name);
    const QString text = m_rows.at(m_row).at(column).toString();
    switch (TableSchema::kind(m_table, m_fields.at(column))) {
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
