#include "SettingsFile.h"

#include "AtomicFile.h"
#include "platform/AppError.h"
#include "text/DateFormats.h"
#include "text/Gbk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

namespace {

struct Line
{
    QByteArray bytes; ///< without its line end
    QByteArray end; ///< "\r\n", "\n", "\r" or empty for a last line without one
};

enum class ReadResult { Missing, Read, Unreadable };

ReadResult readFile(const QString& path, QByteArray* data)
{
    data->clear();
    QFile file(path);
    if (!file.exists())
        return ReadResult::Missing;
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        return ReadResult::Unreadable;
    *data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        data->clear();
        return ReadResult::Unreadable;
    }
    return ReadResult::Read;
}

void splitLines(const QByteArray& data, QList<Line>* lines)
{
    lines->clear();
    qsizetype start = 0;
    const qsizetype n = data.size();
    while (start < n) {
        qsizetype i = start;
        while (i < n && data.at(i) != '\r' && data.at(i) != '\n')
            ++i;
        Line line{ data.mid(start, i - start), {} };
        if (i < n) {
            if (data.at(i) == '\r' && i + 1 < n && data.at(i + 1) == '\n') {
                line.end = "\r\n";
                i += 2;
            } else {
                line.end = data.mid(i, 1);
                ++i;
            }
        }
        lines->append(line);
        start = i;
    }
}

/// A section header's name, or a null string when the line is no header.
QString sectionName(const QString& text)
{
    const QString t = text.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return {};
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    if (close < 0)
        return {};
    return t.mid(1, close - 1).trimmed();
}

bool isComment(const QString& text)
{
    const QString t = text.trimmed();
    return t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#'));
}

/// Splits "key=value"; false when the line holds no "=".
bool splitKey(const QString& text, QString* key, QString* value)
{
    if (isComment(text))
        return false;
    const qsizetype eq = text.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    *key = text.left(eq).trimmed();
    QString v = text.mid(eq + 1).trimmed();
    if (v.size() >= 2 && v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"')))
        v = v.mid(1, v.size() - 2);
    *value = v;
    return !key->isEmpty();
}

QString decodeLine(const QByteArray& bytes)
{
    return Gbk::decode(bytes);
}

void writeAtomically(const QString& path, const QByteArray& content, bool syncFolder)
{
    AtomicFile file(path);
    if (file.open() && file.write(content) && file.commit(syncFolder))
        return;
    QString what;
    switch (file.failure()) {
    case AtomicFile::Failure::Create:
        what = QStringLiteral("不能创建临时文件");
        break;
    case AtomicFile::Failure::Replace:
        what = QStringLiteral("不能替换原文件");
        break;
    case AtomicFile::Failure::None:
    case AtomicFile::Failure::Write:
        what = QStringLiteral("写入失败");
        break;
    }
    throw AppError(
        QStringLiteral("无法保存设置文件 %1：%2（%3）").arg(QDir::toNativeSeparators(path), what, file.errorString()));
}

} // namespace

SettingsFile::SettingsFile(QString path)
    : m_path(std::move(path))
{ }

void SettingsFile::hold()
{
    m_held = false;
    m_heldResult = int(readFile(m_path, &m_heldData));
    m_held = true;
}

int SettingsFile::content(QByteArray* data) const
{
    if (m_held) {
        *data = m_heldData;
        return m_heldResult;
    }
    return int(readFile(m_path, data));
}

bool SettingsFile::parseInteger(const QString& text, int* value)
{
    QString t = text.trimmed();
    bool negative = false;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        negative = t.startsWith(QLatin1Char('-'));
        t = t.mid(1);
    }
    if (t.isEmpty())
        return false;
    int base = 10;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        t = t.mid(2);
        base = 16;
    } else if (t.startsWith(QLatin1Char('$'))) {
        t = t.mid(1);
        base = 16;
    }
    if (t.isEmpty())
        return false;
    for (const QChar c : t) {
        if (base == 10 ? !(c >= u'0' && c <= u'9') : !QStringLiteral("0123456789abcdefABCDEF").contains(c))
            return false;
    }
    bool ok = false;
    const qlonglong v = t.toLongLong(&ok, base);
    if (!ok)
        return false;
    const qlonglong signedValue = negative ? -v : v;
    // Hexadecimal may spell a 32-bit pattern (0xFFFFFFFF is -1), as the platform's own reader takes it.
    if (base == 16 && signedValue > INT_MAX && signedValue <= qlonglong(UINT_MAX))
        *value = int(quint32(signedValue));
    else if (signedValue < INT_MIN || signedValue > INT_MAX)
        return false;
    else
        *value = int(signedValue);
    return true;
}

bool SettingsFile::findValue(const QString& section, const QString& key, QString* value) const
{
    QByteArray data;
    if (ReadResult(content(&data)) != ReadResult::Read)
        return false;
    QList<Line> lines;
    splitLines(data, &lines);
    bool inSection = false;
    for (const Line& line : lines) {
        const QString text = decodeLine(line.bytes);
        const QString name = sectionName(text);
        if (!name.isNull()) {
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        QString k;
        QString v;
        if (inSection && splitKey(text, &k, &v) && k.compare(key, Qt::CaseInsensitive) == 0) {
            *value = v;
            return true;
        }
    }
    return false;
}

int SettingsFile::readInteger(const QString& section, const QString& key, int defaultValue) const
{
    QString text;
    int value = 0;
    if (findValue(section, key, &text) && parseInteger(text, &value))
        return value;
    return defaultValue;
}

QString SettingsFile::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    QString text;
    return findValue(section, key, &text) ? text : defaultValue;
}

QDateTime SettingsFile::readDateTime(const QString& section, const QString& key, const QDateTime& defaultValue) const
{
    QString text;
    if (!findValue(section, key, &text))
        return defaultValue;
    const QDateTime value = DateFormats::parseDateTime(text);
    return value.isValid() ? value : defaultValue;
}

void SettingsFile::writeString(const QString& section, const QString& key, const QString& value)
{
    QByteArray data;
    const ReadResult read = ReadResult(content(&data));
    QList<Line> lines;
    splitLines(data, &lines);
    if (read == ReadResult::Unreadable)
        throw AppError(
            QStringLiteral("无法读取设置文件 %1，为免丢失其内容，设置未保存。").arg(QDir::toNativeSeparators(m_path)));

    // New lines follow the file's own line ends; a new file gets CR LF like the platform's own writer.
    QByteArray eol = "\r\n";
    for (const Line& line : lines) {
        if (!line.end.isEmpty()) {
            eol = line.end;
            break;
        }
    }
    const QByteArray keyLine = Gbk::encode(key + QLatin1Char('=') + value);

    qsizetype sectionStart = -1; // index of the header line
    qsizetype lastContent = -1; // last key line of that section
    qsizetype found = -1;
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString text = decodeLine(lines.at(i).bytes);
        const QString name = sectionName(text);
        if (!name.isNull()) {
            if (inSection)
                break; // only the first section of that name counts, as for reads
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            if (inSection) {
                sectionStart = i;
                lastContent = i;
            }
            continue;
        }
        if (!inSection)
            continue;
        QString k;
        QString v;
        if (splitKey(text, &k, &v)) {
            lastContent = i;
            if (k.compare(key, Qt::CaseInsensitive) == 0) {
                found = i;
                break;
            }
        } else if (!text.trimmed().isEmpty()) {
            lastContent = i;
        }
    }

    if (found >= 0) {
        lines[found].bytes = keyLine;
    } else if (sectionStart >= 0) {
        if (lines.at(lastContent).end.isEmpty())
            lines[lastContent].end = eol;
        // The new line ends as the line above it does. The file's first line end could be a lone CR, and a lone CR
        // put before an empty line ended by LF reads back as one CR LF: the empty line would be gone. The line above
        // never ends in a lone CR when an LF follows it, or the two would already have been read as one CR LF.
        lines.insert(lastContent + 1, Line{ keyLine, lines.at(lastContent).end });
    } else {
        if (!lines.isEmpty() && lines.last().end.isEmpty())
            lines.last().end = eol;
        lines.append(Line{ Gbk::encode(QLatin1Char('[') + section + QLatin1Char(']')), eol });
        lines.append(Line{ keyLine, eol });
    }

    QByteArray written;
    for (const Line& line : lines)
        written += line.bytes + line.end;
    writeAtomically(m_path, written, m_folderSync);
    if (m_held) {
        m_heldData = written;
        m_heldResult = int(ReadResult::Read);
    }
}

void SettingsFile::writeInteger(const QString& section, const QString& key, int value)
{
    writeString(section, key, QString::number(value));
}

QString SettingsFile::problem() const
{
    QByteArray raw;
    const ReadResult read = ReadResult(content(&raw));
    QList<Line> lines;
    splitLines(raw, &lines);
    switch (read) {
    case ReadResult::Missing:
        return {};
    case ReadResult::Unreadable:
        return QStringLiteral("设置文件 %1 无法读取，将使用默认设置。").arg(QDir::toNativeSeparators(m_path));
    case ReadResult::Read:
        break;
    }
    bool valid = true;
    Gbk::decode(raw, &valid);
    if (raw.contains('\0') || !valid)
        return QStringLiteral("设置文件 %1 已损坏（不是文本文件），无法识别的设置将使用默认值。")
            .arg(QDir::toNativeSeparators(m_path));
    for (const Line& line : lines) {
        const QString text = decodeLine(line.bytes);
        QString k;
        QString v;
        if (text.trimmed().isEmpty() || isComment(text) || !sectionName(text).isNull() || splitKey(text, &k, &v))
            continue;
        return QStringLiteral("设置文件 %1 中有无法识别的行：“%2”。")
            .arg(QDir::toNativeSeparators(m_path), text.left(60));
    }
    return {};
}
