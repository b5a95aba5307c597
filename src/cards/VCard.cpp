#include "VCard.h"

#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "storage/TableQuery.h"
#include "storage/TableTransaction.h"
#include "text/Gbk.h"
#include "text/SkipSummary.h"
#include "text/TextLines.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringDecoder>
#include <QUrl>

namespace {

const QString kUnclassified = QStringLiteral("未分类");

// ---------------------------------------------------------------------------------------------------------------
// Writing

QString escapeText(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : withLineFeeds(text)) {
        switch (c.unicode()) {
        case u'\\':
            out += QLatin1String("\\\\");
            break;
        case u'\n':
            out += QLatin1String("\\n");
            break;
        case u',':
            out += QLatin1String("\\,");
            break;
        case u';':
            out += QLatin1String("\\;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

/// One content line, folded so that no line is longer than 75 octets, never inside a character.
void appendLine(QByteArray& out, const QString& nameAndParameters, const QString& value)
{
    const QByteArray line = (nameAndParameters + QLatin1Char(':') + value).toUtf8();
    qsizetype pos = 0;
    qsizetype room = 75;
    while (line.size() - pos > room) {
        qsizetype cut = pos + room;
        while (cut > pos + 1 && (uchar(line.at(cut)) & 0xC0) == 0x80)
            --cut;
        out += line.mid(pos, cut - pos);
        out += "\r\n ";
        pos = cut;
        room = 74; // the leading blank of a continuation line counts
    }
    out += line.mid(pos);
    out += "\r\n";
}

QString uriPart(const QString& value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value, QByteArrayLiteral("@.-_~+")));
}

void appendCard(QByteArray& out, const Card& card)
{
    appendLine(out, QStringLiteral("BEGIN"), QStringLiteral("VCARD"));
    appendLine(out, QStringLiteral("VERSION"), QStringLiteral("3.0"));
    appendLine(out, QStringLiteral("FN"), escapeText(card.name));
    appendLine(out, QStringLiteral("N"), escapeText(card.name) + QStringLiteral(";;;;"));
    if (!card.netname.isEmpty())
        appendLine(out, QStringLiteral("NICKNAME"), escapeText(card.netname));
    const struct
    {
        const QString& value;
        const char* scheme;
        const char* property;
    } messengers[] = { { card.qq, "qq:", "X-QQ" }, { card.msn, "msnim:", "X-MSN" }, { card.uc, "x-uc:", "X-UC" } };
    for (const auto& m : messengers) {
        if (m.value.isEmpty())
            continue;
        appendLine(out, QStringLiteral("IMPP"), QString::fromLatin1(m.scheme) + uriPart(m.value));
        appendLine(out, QString::fromLatin1(m.property), escapeText(m.value));
    }
    if (!card.email.isEmpty())
        appendLine(out, QStringLiteral("EMAIL;TYPE=INTERNET"), escapeText(card.email));
    if (!card.mobile.isEmpty())
        appendLine(out, QStringLiteral("TEL;TYPE=CELL"), escapeText(card.mobile));
    if (!card.tel.isEmpty())
        appendLine(out, QStringLiteral("TEL;TYPE=WORK,VOICE"), escapeText(card.tel));
    if (!card.home.isEmpty())
        appendLine(out, QStringLiteral("URL"), escapeText(card.home));
    if (!card.address.isEmpty()) {
        appendLine(out, QStringLiteral("ADR"),
                   QStringLiteral(";;") + escapeText(card.address) + QStringLiteral(";;;;"));
        appendLine(out, QStringLiteral("LABEL"), escapeText(card.address));
    }
    if (!card.memo.isEmpty())
        appendLine(out, QStringLiteral("NOTE"), escapeText(card.memo));
    if (!card.classify.isEmpty())
        appendLine(out, QStringLiteral("CATEGORIES"), escapeText(card.classify));
    appendLine(out, QStringLiteral("END"), QStringLiteral("VCARD"));
}

// ---------------------------------------------------------------------------------------------------------------
// Reading

/// Where the name and parameters of a content line end: the first colon outside double quotes; -1 when none.
qsizetype valueStart(const QByteArray& line)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line.at(i);
        if (c == '"')
            quoted = !quoted;
        else if (c == ':' && !quoted)
            return i;
    }
    return -1;
}

bool isQuotedPrintable(const QByteArray& line)
{
    const qsizetype colon = valueStart(line);
    return colon > 0 && line.left(colon).toUpper().contains("QUOTED-PRINTABLE");
}

/// The logical lines: folded lines joined again, and quoted-printable soft line breaks ("=" at a line's end) undone.
QList<QByteArray> logicalLines(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    bool softBreak = false;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        qsizetype end = pos;
        while (end < bytes.size() && bytes.at(end) != '\r' && bytes.at(end) != '\n')
            ++end;
        const QByteArray physical = bytes.mid(pos, end - pos);
        pos = end;
        if (pos < bytes.size() && bytes.at(pos) == '\r')
            ++pos;
        if (pos < bytes.size() && bytes.at(pos) == '\n')
            ++pos;

        if (!lines.isEmpty() && softBreak) {
            lines.last().chop(1);
            lines.last() += physical;
        } else if (!lines.isEmpty() && !physical.isEmpty() && (physical.at(0) == ' ' || physical.at(0) == '\t')) {
            lines.last() += physical.mid(1);
        } else if (physical.trimmed().isEmpty()) {
            softBreak = false;
            continue; // blank lines end the picture data of older files
        } else {
            lines << physical;
        }
        softBreak = lines.last().endsWith('=') && isQuotedPrintable(lines.last());
    }
    return lines;
}

struct Property
{
    QString name; ///< upper case, without its group
    QStringList types; ///< lower case: the values of TYPE and the bare parameters of older files
    QString charset; ///< lower case
    QString encoding; ///< lower case
    QString serviceType; ///< lower case
    QByteArray value; ///< as written
};

QList<QByteArray> splitOutsideQuotes(const QByteArray& text, char separator)
{
    QList<QByteArray> parts;
    QByteArray current;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"')
            quoted = !quoted;
        if (c == separator && !quoted) {
            parts << current;
            current.clear();
        } else {
            current += c;
        }
    }
    parts << current;
    return parts;
}

bool parseProperty(const QByteArray& line, Property& p)
{
    const qsizetype colon = valueStart(line);
    if (colon <= 0)
        return false;
    const QList<QByteArray> head = splitOutsideQuotes(line.left(colon), ';');
    QByteArray name = head.first().trimmed();
    if (const qsizetype dot = name.lastIndexOf('.'); dot >= 0)
        name = name.mid(dot + 1); // a group prefix, "item1.EMAIL"
    p.name = QString::fromLatin1(name).toUpper();
    for (qsizetype i = 1; i < head.size(); ++i) {
        const QByteArray parameter = head.at(i).trimmed();
        const qsizetype eq = parameter.indexOf('=');
        if (eq < 0) {
            const QString bare = QString::fromLatin1(parameter).toLower();
            if (bare == u"quoted-printable" || bare == u"base64" || bare == u"8bit" || bare == u"7bit")
                p.encoding = bare;
            else if (!bare.isEmpty())
                p.types << bare;
            continue;
        }
        const QString key = QString::fromLatin1(parameter.left(eq)).trimmed().toUpper();
        QString value = QString::fromLatin1(parameter.mid(eq + 1)).trimmed().toLower();
        value.remove(QLatin1Char('"'));
        if (key == u"TYPE") {
            for (const QString& type : value.split(QLatin1Char(','), Qt::SkipEmptyParts))
                p.types << type.trimmed();
        } else if (key == u"CHARSET") {
            p.charset = value;
        } else if (key == u"ENCODING") {
            p.encoding = value;
        } else if (key == u"X-SERVICE-TYPE") {
            p.serviceType = value;
        }
    }
    p.value = line.mid(colon + 1);
    return true;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

QByteArray decodeQuotedPrintable(const QByteArray& in)
{
    QByteArray out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        const char c = in.at(i);
        if (c == '=' && i + 2 < in.size() && hexDigit(in.at(i + 1)) >= 0 && hexDigit(in.at(i + 2)) >= 0) {
            out += char(hexDigit(in.at(i + 1)) * 16 + hexDigit(in.at(i + 2)));
            i += 2;
        } else if (c == '=' && i + 1 == in.size()) {
            // a soft line break at the very end of a cut-off file
        } else {
            out += c;
        }
    }
    return out;
}

QString decodeGb18030(const QByteArray& bytes)
{
    QStringDecoder decoder("GB18030");
    if (!decoder.isValid())
        return Gbk::decode(bytes);
    return decoder.decode(bytes);
}

QString decodeText(const QByteArray& bytes, const QString& charset)
{
    if (charset == u"utf-8" || charset == u"utf8")
        return QString::fromUtf8(bytes);
    if (charset == u"gbk" || charset == u"gb2312" || charset == u"gb18030" || charset == u"cp936" || charset == u"x-gbk"
        || charset == u"euc-cn" || charset == u"windows-936")
        return decodeGb18030(bytes);
    if (!charset.isEmpty()) {
        QStringDecoder decoder(charset.toLatin1().constData());
        if (decoder.isValid()) {
            const QString text = decoder.decode(bytes);
            if (!decoder.hasError())
                return text;
        }
    }
    // No charset (or one we cannot read): UTF-8 when the bytes are UTF-8, else the Chinese code page that older
    // Chinese phones and mail programs wrote without saying so.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return decodeGb18030(bytes);
}

/// Undoes the backslash escapes of a text value. Version 2.1 knows no "\n": a backslash there is mostly a path.
QString unescape(const QString& text, bool v21)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\\' || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const QChar next = text.at(i + 1);
        if (!v21 && (next == u'n' || next == u'N')) {
            out += u'\n';
            ++i;
        } else if (next == u'\\' || next == u',' || next == u';' || next == u':') {
            out += next;
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

/// Splits a list or structured value at the separators that are not escaped; the parts keep their escapes.
QStringList splitEscaped(const QString& text, QChar separator)
{
    QStringList parts;
    QString current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\\' && i + 1 < text.size()) {
            current += c;
            current += text.at(++i);
        } else if (c == separator) {
            parts << current;
            current.clear();
        } else {
            current += c;
        }
    }
    parts << current;
    return parts;
}

/// A value for a one-line field: line breaks and tabs become blanks, other control characters go. Blanks stay as
/// they are, so a card comes back exactly as it went out.
QString oneLine(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            continue;
        if (c == u'\r' || c == u'\n' || c == u'\t')
            out += u' ';
        else if (c.unicode() >= 0x20 && c.unicode() != 0x7F)
            out += c;
    }
    return out;
}

/// A value for the note: line breaks kept as LF, tabs as blanks, other control characters dropped.
QString multiLine(const QString& text)
{
    QString out;
    for (const QChar c : withLineFeeds(text)) {
        if (c == u'\n')
            out += c;
        else if (c == u'\t')
            out += u' ';
        else if (c.unicode() >= 0x20 && c.unicode() != 0x7F)
            out += c;
    }
    return out;
}

bool hasChinese(const QString& text)
{
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if ((u >= 0x2E80 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF) || c.isSurrogate())
            return true;
    }
    return false;
}

/// The name a structured N value stands for: family name first and unspaced in Chinese, given name first otherwise.
QString nameFromParts(const QStringList& parts)
{
    const QString family = parts.value(0);
    const QString given = parts.value(1);
    const QString middle = parts.value(2);
    if (hasChinese(family + given + middle))
        return oneLine(family.trimmed() + middle.trimmed() + given.trimmed());
    QStringList words;
    for (const QString& w : { given, middle, family }) {
        if (!w.trimmed().isEmpty())
            words << w.trimmed();
    }
    return oneLine(words.join(QLatin1Char(' ')));
}

/// An ADR value as one line: its street only when that is all it holds (as this program writes it), else its
/// parts in the order the address's own language puts them.
QString addressFromParts(const QStringList& parts)
{
    const QString poBox = oneLine(parts.value(0)).trimmed();
    const QString extended = oneLine(parts.value(1)).trimmed();
    const QString street = oneLine(parts.value(2));
    const QString locality = oneLine(parts.value(3)).trimmed();
    const QString region = oneLine(parts.value(4)).trimmed();
    const QString code = oneLine(parts.value(5)).trimmed();
    const QString country = oneLine(parts.value(6)).trimmed();
    if (poBox.isEmpty() && extended.isEmpty() && locality.isEmpty() && region.isEmpty() && code.isEmpty()
        && country.isEmpty())
        return street;
    if (hasChinese(street + locality + region + country)) {
        QString text = country + region;
        if (locality != region)
            text += locality;
        text += street.trimmed() + extended + poBox;
        return code.isEmpty() ? text : text + QLatin1Char(' ') + code;
    }
    QStringList pieces;
    for (const QString& piece :
         { poBox, extended, street.trimmed(), locality, (region + QLatin1Char(' ') + code).trimmed(), country }) {
        if (!piece.isEmpty())
            pieces << piece;
    }
    return pieces.join(QStringLiteral(", "));
}

void setIfEmpty(QString& field, const QString& value)
{
    if (field.isEmpty())
        field = value;
}

struct Phone
{
    QString number;
    QStringList types;
    bool has(const char* type) const { return types.contains(QString::fromLatin1(type)); }
    bool isMobile() const { return has("cell") || has("mobile") || has("iphone"); }
    bool isVoice() const { return !isMobile() && !has("fax") && !has("pager"); }
};

/// A card from the content lines between BEGIN:VCARD and END:VCARD; false when it has no name at all.
bool buildCard(const QList<QByteArray>& lines, VCard::Entry& entry)
{
    QList<Property> properties;
    bool v21 = false;
    for (const QByteArray& line : lines) {
        Property p;
        if (!parseProperty(line, p))
            continue;
        if (p.name == u"VERSION")
            v21 = p.value.trimmed() == "2.1";
        properties << p;
    }

    QString formatted, structured, nickname, organisation, qq, msn, uc, url, adr, label, category;
    QStringList notes, emails;
    QList<Phone> phones;
    for (const Property& p : std::as_const(properties)) {
        if (p.encoding == u"base64" || p.encoding == u"b")
            continue; // pictures, keys and sounds
        const QByteArray raw = p.encoding == u"quoted-printable" ? decodeQuotedPrintable(p.value) : p.value;
        const QString text = decodeText(raw, p.charset);
        const QString& n = p.name;
        if (n == u"FN") {
            setIfEmpty(formatted, oneLine(unescape(text, v21)));
        } else if (n == u"N") {
            QStringList parts;
            for (const QString& part : splitEscaped(text, u';'))
                parts << unescape(part, v21);
            setIfEmpty(structured, nameFromParts(parts));
        } else if (n == u"NICKNAME") {
            setIfEmpty(nickname, oneLine(unescape(splitEscaped(text, u',').first(), v21)));
        } else if (n == u"ORG") {
            setIfEmpty(organisation, oneLine(unescape(splitEscaped(text, u';').first(), v21)));
        } else if (n == u"X-QQ") {
            setIfEmpty(qq, oneLine(unescape(text, v21)));
        } else if (n == u"X-MSN") {
            setIfEmpty(msn, oneLine(unescape(text, v21)));
        } else if (n == u"X-UC") {
            setIfEmpty(uc, oneLine(unescape(text, v21)));
        } else if (n == u"IMPP") {
            const QString uri = oneLine(unescape(text, v21));
            const qsizetype colon = uri.indexOf(QLatin1Char(':'));
            const QString scheme = colon > 0 ? uri.left(colon).toLower() : QString();
            const QString account = oneLine(QUrl::fromPercentEncoding(uri.mid(colon + 1).toUtf8()));
            if (scheme == u"qq" || p.serviceType == u"qq")
                setIfEmpty(qq, account);
            else if (scheme == u"msnim" || scheme == u"msn" || p.serviceType == u"msn")
                setIfEmpty(msn, account);
            else if (scheme == u"x-uc" || scheme == u"uc" || p.serviceType == u"uc")
                setIfEmpty(uc, account);
        } else if (n == u"EMAIL") {
            const QString address = oneLine(unescape(text, v21));
            if (!address.isEmpty())
                emails << address;
        } else if (n == u"TEL") {
            QString number = oneLine(unescape(text, v21));
            if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
                number = number.mid(4);
            if (!number.isEmpty())
                phones << Phone{ number, p.types };
        } else if (n == u"URL") {
            setIfEmpty(url, oneLine(unescape(text, v21)));
        } else if (n == u"ADR") {
            QStringList parts;
            for (const QString& part : splitEscaped(text, u';'))
                parts << unescape(part, v21);
            setIfEmpty(adr, addressFromParts(parts));
        } else if (n == u"LABEL") {
            setIfEmpty(label, oneLine(unescape(text, v21)));
        } else if (n == u"NOTE") {
            const QString note = multiLine(unescape(text, v21));
            if (!note.isEmpty())
                notes << note;
        } else if (n == u"CATEGORIES") {
            for (const QString& value : splitEscaped(text, u',')) {
                if (category.trimmed().isEmpty())
                    category = oneLine(unescape(value, v21));
            }
        }
    }

    Card& card = entry.card;
    for (const QString* candidate : { &formatted, &structured, &nickname, &organisation }) {
        if (!candidate->trimmed().isEmpty()) {
            card.name = *candidate;
            break;
        }
    }
    if (card.name.isEmpty())
        return false;
    card.classify = category.trimmed().isEmpty() ? kUnclassified : category;
    card.netname = nickname;
    card.qq = qq;
    card.msn = msn;
    card.uc = uc;
    card.home = url;
    card.address = adr.isEmpty() ? label : adr;

    // The first phone of each kind and the first address get their fields; the rest go to the note.
    QStringList extras;
    if (!emails.isEmpty())
        card.email = emails.takeFirst();
    for (const Phone& phone : std::as_const(phones)) {
        if (phone.isMobile() && card.mobile.isEmpty())
            card.mobile = phone.number;
    }
    for (const Phone& phone : std::as_const(phones)) {
        if (phone.isVoice() && phone.has("work") && card.tel.isEmpty())
            card.tel = phone.number;
    }
    for (const Phone& phone : std::as_const(phones)) {
        if (phone.isVoice() && card.tel.isEmpty())
            card.tel = phone.number;
    }
    QStringList placed{ card.mobile, card.tel };
    for (const Phone& phone : std::as_const(phones)) {
        if (placed.contains(phone.number))
            continue;
        placed << phone.number;
        extras << QStringLiteral("电话：") + phone.number;
    }
    for (const QString& email : std::as_const(emails)) {
        if (email != card.email && !extras.contains(QStringLiteral("电子邮箱：") + email))
            extras << QStringLiteral("电子邮箱：") + email;
    }
    card.memo = (notes + extras).join(QLatin1Char('\n'));

    for (const QString& column : Card::columns()) {
        const int limit = Card::byteLimit(column);
        const bool note = column == u"memo";
        const QString value = card.value(column);
        if (limit > 0 && Gbk::byteLength(value, note) > limit) {
            card.setValue(column, Gbk::truncate(value, limit, note));
            ++entry.fieldsCut;
        }
    }
    card.memo = CardTables::noteForTable(card.memo);
    return true;
}

bool isLine(const QByteArray& line, const char* name, const char* value)
{
    const qsizetype colon = valueStart(line);
    if (colon <= 0)
        return false;
    QByteArray head = line.left(colon).trimmed();
    if (const qsizetype dot = head.lastIndexOf('.'); dot >= 0)
        head = head.mid(dot + 1);
    return head.compare(name, Qt::CaseInsensitive) == 0
        && line.mid(colon + 1).trimmed().compare(value, Qt::CaseInsensitive) == 0;
}

/// The bytes as UTF-8, for files saved as UTF-16 with a byte order mark; without the UTF-8 mark.
QByteArray withoutByteOrderMark(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return bytes.mid(3);
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        return QString(decoder.decode(bytes.mid(2))).toUtf8();
    }
    return bytes;
}

QString cardKey(const Card& card)
{
    QStringList values;
    for (const QString& column : Card::columns())
        values << card.value(column);
    return values.join(QChar(0x1F));
}

QString categoryTablePath()
{
    return AppPaths::appDir() + QStringLiteral("data/classify.db");
}

QString skipText(VCard::Skip why)
{
    switch (why) {
    case VCard::Skip::Incomplete:
        return QStringLiteral("不完整（缺少 END:VCARD）");
    case VCard::Skip::NoName:
        return QStringLiteral("没有姓名");
    case VCard::Skip::Duplicate:
        return QStringLiteral("与已有名片完全相同");
    }
    return {};
}

} // namespace

namespace VCard {

QString defaultFileName()
{
    return QStringLiteral("名片.vcf");
}

QByteArray write(const QList<Card>& cards)
{
    QByteArray out;
    for (const Card& card : cards)
        appendCard(out, card);
    return out;
}

int exportFile(const QString& file)
{
    TableQuery query;
    CardTables::setStatement(query, CardTables::selectAllCards());
    query.open();
    QList<Card> cards;
    for (query.first(); !query.eof(); query.next())
        cards << Card::fromQuery(query);

    QSaveFile out(file);
    const QByteArray bytes = write(cards);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        throw AppError(QStringLiteral("无法写入文件 %1：%2").arg(QDir::toNativeSeparators(file), out.errorString()));
    return int(cards.size());
}

ReadResult read(const QByteArray& bytes)
{
    ReadResult result;
    QList<QByteArray> card;
    bool inCard = false;
    const auto finish = [&result, &card] {
        Entry entry;
        if (buildCard(card, entry))
            result.entries << entry;
        else
            ++result.skipped[int(Skip::NoName)];
        card.clear();
    };
    for (const QByteArray& line : logicalLines(withoutByteOrderMark(bytes))) {
        if (isLine(line, "BEGIN", "VCARD")) {
            // An entry that never ended is not taken in part.
            if (inCard)
                ++result.skipped[int(Skip::Incomplete)];
            result.isVCard = true;
            inCard = true;
            card.clear();
        } else if (isLine(line, "END", "VCARD")) {
            if (inCard)
                finish();
            inCard = false;
        } else if (inCard) {
            card << line;
        }
    }
    if (inCard)
        ++result.skipped[int(Skip::Incomplete)];
    return result;
}

ImportResult importFile(const QString& file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("无法读取文件 %1：%2").arg(QDir::toNativeSeparators(file), in.errorString()));
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        throw AppError(QStringLiteral("无法读取文件 %1：%2").arg(QDir::toNativeSeparators(file), in.errorString()));

    ReadResult read = VCard::read(bytes);
    ImportResult result;
    result.isVCard = read.isVCard;
    result.skipped = read.skipped;
    if (read.entries.isEmpty())
        return result;

    TableQuery query;
    CardTables::setStatement(query, CardTables::selectCategories());
    query.open();
    QSet<QString> categories;
    for (query.first(); !query.eof(); query.next())
        categories << query.fieldAsString(QStringLiteral("classify"));
    CardTables::setStatement(query, CardTables::selectAllCards());
    query.open();
    QSet<QString> known;
    for (query.first(); !query.eof(); query.next())
        known << cardKey(Card::fromQuery(query));
    query.close();

    QList<Card> cards;
    QStringList newCategories;
    for (const Entry& entry : std::as_const(read.entries)) {
        const QString key = cardKey(entry.card);
        if (known.contains(key)) {
            ++result.skipped[int(Skip::Duplicate)];
            continue;
        }
        known << key;
        cards << entry.card;
        result.fieldsCut += entry.fieldsCut;
        if (!categories.contains(entry.card.classify)) {
            categories << entry.card.classify;
            newCategories << entry.card.classify;
        }
    }
    if (cards.isEmpty())
        return result;

    TableTransaction transaction(CardTables::cardTableFile(), { categoryTablePath() });
    for (const Card& card : std::as_const(cards)) {
        CardTables::setStatement(query, CardTables::insertCard());
        CardTables::bindCard(query, card);
        query.execSql();
    }
    // The category table takes part in the same transaction, so a card never arrives without its category.
    QSqlQuery insert(transaction.database());
    if (!insert.prepare(QStringLiteral("insert into ") + transaction.attachedTable(0)
                        + QStringLiteral(" (classify) values (?)")))
        throw AppError(QStringLiteral("数据表 %1 出错：%2")
                           .arg(QDir::toNativeSeparators(categoryTablePath()), insert.lastError().text()));
    for (const QString& name : std::as_const(newCategories)) {
        insert.bindValue(0, name);
        if (!insert.exec())
            throw AppError(QStringLiteral("数据表 %1 出错：%2")
                               .arg(QDir::toNativeSeparators(categoryTablePath()), insert.lastError().text()));
    }
    insert.finish();
    transaction.commit();
    result.imported = int(cards.size());
    return result;
}

QString summary(const ImportResult& result)
{
    if (!result.isVCard)
        return QStringLiteral("所选文件不是vCard名片文件，没有导入任何名片。");
    QString text = QStringLiteral("共导入 %1 张名片。").arg(result.imported);
    if (result.fieldsCut > 0)
        text += QStringLiteral("\r\r有 %1 项内容超过字段长度，已截短。").arg(result.fieldsCut);
    return text + skipSummary(result.skipped, [](std::size_t kind) { return skipText(Skip(kind)); });
}

} // namespace VCard
