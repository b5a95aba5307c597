#include "Gbk.h"

#include <QList>
#include <QStringView>
#include <QTextBoundaryFinder>
#include <iconv.h>

namespace {

class Converter
{
public:
    Converter(const char* to, const char* from)
        : m_cd(iconv_open(to, from))
    { }
    ~Converter()
    {
        if (m_cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    /// Converts one whole piece; returns false when the input holds something the target cannot take.
    bool convert(const QByteArray& in, QByteArray& out)
    {
        out.clear();
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            return false;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        QByteArray input = in;
        char* src = input.data();
        size_t srcLeft = size_t(input.size());
        out.resize(input.size() * 4 + 8);
        char* dst = out.data();
        size_t dstLeft = size_t(out.size());
        const size_t rc = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
        out.resize(out.size() - qsizetype(dstLeft));
        return rc != size_t(-1) && srcLeft == 0;
    }

private:
    iconv_t m_cd;
};

// glibc's converter follows GB18030-2022, which differs from GBK only in "€" and from GB18030-2005 only in the
// characters below.
Converter& toGb18030()
{
    thread_local Converter c("GB18030", "UTF-8");
    return c;
}
Converter& fromGb18030()
{
    thread_local Converter c("UTF-8", "GB18030");
    return c;
}

constexpr char32_t kEuro = 0x20AC;
constexpr char kEuroByte = '\x80';

/// Private-use characters that GB18030-2005 gave two-byte codes and GB18030-2022 gives no code at all: they keep
/// their old code, which a 2022 reader takes as the standard character the private one stood in for.
struct PrivateUseCode
{
    char32_t codePoint;
    const char* bytes;
};
constexpr PrivateUseCode kPrivateUseCodes[] = {
    { 0xE78D, "\xA6\xD9" }, { 0xE78E, "\xA6\xDA" }, { 0xE78F, "\xA6\xDB" }, { 0xE790, "\xA6\xDC" },
    { 0xE791, "\xA6\xDD" }, { 0xE792, "\xA6\xDE" }, { 0xE793, "\xA6\xDF" }, { 0xE794, "\xA6\xEC" },
    { 0xE795, "\xA6\xED" }, { 0xE796, "\xA6\xF3" }, { 0xE816, "\xFE\x51" }, { 0xE817, "\xFE\x52" },
    { 0xE818, "\xFE\x53" }, { 0xE81E, "\xFE\x59" }, { 0xE826, "\xFE\x61" }, { 0xE82B, "\xFE\x66" },
    { 0xE82C, "\xFE\x67" }, { 0xE831, "\xFE\x6C" }, { 0xE832, "\xFE\x6D" }, { 0xE83B, "\xFE\x76" },
    { 0xE843, "\xFE\x7E" }, { 0xE854, "\xFE\x90" }, { 0xE855, "\xFE\x91" }, { 0xE864, "\xFE\xA0" },
};

/// Four-byte codes of GB18030-2005 for characters that GB18030-2022 moved to two-byte codes; a 2022 converter no
/// longer reads them, but files written by 2005 converters hold them.
struct FourByteRange
{
    int firstIndex; ///< linear index of the first code (see fourByteIndex)
    char32_t firstCodePoint;
    int count;
};
constexpr int fourByteIndex(uchar b1, uchar b2, uchar b3, uchar b4)
{
    return ((int(b1 - 0x81) * 10 + int(b2 - 0x30)) * 126 + int(b3 - 0x81)) * 10 + int(b4 - 0x30);
}
constexpr FourByteRange kOlderFourByteCodes[] = {
    { fourByteIndex(0x82, 0x35, 0x90, 0x37), 0x9FB4, 8 },
    { fourByteIndex(0x84, 0x31, 0x82, 0x36), 0xFE10, 10 },
};

/// The fixed code of a character the converter must not be asked about, or an empty array.
QByteArray specialEncoding(char32_t codePoint)
{
    if (codePoint == kEuro)
        return QByteArray(1, kEuroByte);
    for (const PrivateUseCode& code : kPrivateUseCodes) {
        if (code.codePoint == codePoint)
            return QByteArray(code.bytes, 2);
    }
    return {};
}

/// What a lone surrogate (half a character, never typed) becomes: the code of U+FFFD, so nothing turns into "?".
QByteArray replacementBytes()
{
    return QByteArrayLiteral("\x84\x31\xA4\x37");
}

bool isTrailByte(uchar b)
{
    return b >= 0x40 && b <= 0xFE && b != 0x7F;
}
bool isDigitByte(uchar b)
{
    return b >= 0x30 && b <= 0x39;
}
bool isLeadByte(uchar b)
{
    return b >= 0x81 && b <= 0xFE;
}

/// The length of the multi-byte sequence at i (lead byte 0x81 to 0xFE), or 0 when the bytes there form none.
qsizetype sequenceLength(const QByteArray& bytes, qsizetype i)
{
    const qsizetype left = bytes.size() - i;
    if (left < 2 || !isLeadByte(uchar(bytes.at(i))))
        return 0;
    const uchar second = uchar(bytes.at(i + 1));
    if (isTrailByte(second))
        return 2;
    if (isDigitByte(second) && left >= 4 && isLeadByte(uchar(bytes.at(i + 2))) && isDigitByte(uchar(bytes.at(i + 3))))
        return 4;
    return 0;
}

/// A 2005 four-byte code the 2022 converter does not read, as its character; 0 for any other sequence.
char32_t olderFourByteCode(const QByteArray& bytes, qsizetype i)
{
    const int index
        = fourByteIndex(uchar(bytes.at(i)), uchar(bytes.at(i + 1)), uchar(bytes.at(i + 2)), uchar(bytes.at(i + 3)));
    for (const FourByteRange& range : kOlderFourByteCodes) {
        if (index >= range.firstIndex && index < range.firstIndex + range.count)
            return range.firstCodePoint + char32_t(index - range.firstIndex);
    }
    return 0;
}

void appendCodePoint(QString& out, char32_t codePoint)
{
    out += QString::fromUcs4(&codePoint, 1);
}

/// Decodes bytes already split into whole sequences; a code the converter does not know becomes U+FFFD.
QString decodeSequences(const QByteArray& bytes, bool* good)
{
    QByteArray out;
    if (fromGb18030().convert(bytes, out))
        return QString::fromUtf8(out);
    QString result;
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype len = uchar(bytes.at(i)) < 0x80 ? 1 : qMax<qsizetype>(1, sequenceLength(bytes, i));
        if (fromGb18030().convert(bytes.mid(i, len), out)) {
            result += QString::fromUtf8(out);
        } else {
            result += QChar(QChar::ReplacementCharacter);
            *good = false;
        }
        i += len;
    }
    return result;
}

} // namespace

namespace Gbk {

QByteArray encode(const QString& text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    qsizetype runStart = 0; // the characters from here on go to the converter together
    auto flush = [&](qsizetype end) {
        if (end <= runStart)
            return;
        const QStringView run = QStringView(text).mid(runStart, end - runStart);
        QByteArray piece;
        if (toGb18030().convert(run.toUtf8(), piece)) {
            out += piece;
            return;
        }
        for (const char32_t codePoint : run.toUcs4()) { // not reached with glibc's tables; kept for safety
            if (toGb18030().convert(QString::fromUcs4(&codePoint, 1).toUtf8(), piece))
                out += piece;
            else
                out += replacementBytes();
        }
    };
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text.at(i);
        if (c.unicode() < 0x80) {
            ++i;
            continue;
        }
        qsizetype len = 1;
        QByteArray special;
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            len = 2;
        else if (c.isSurrogate())
            special = replacementBytes();
        else
            special = specialEncoding(c.unicode());
        if (!special.isEmpty()) {
            flush(i);
            out += special;
            runStart = i + len;
        }
        i += len;
    }
    flush(text.size());
    return out;
}

QString decode(const QByteArray& bytes, bool* ok)
{
    bool good = true;
    QString result;
    qsizetype runStart = 0; // the bytes from here on go to the converter together
    auto flush = [&](qsizetype end) {
        if (end > runStart)
            result += decodeSequences(bytes.mid(runStart, end - runStart), &good);
    };
    for (qsizetype i = 0; i < bytes.size();) {
        const uchar b = uchar(bytes.at(i));
        if (b < 0x80) {
            ++i;
            continue;
        }
        qsizetype len = sequenceLength(bytes, i);
        char32_t special = 0;
        if (b == uchar(kEuroByte)) {
            special = kEuro;
            len = 1;
        } else if (len == 0) {
            special = QChar::ReplacementCharacter;
            good = false;
            len = 1;
        } else if (len == 4) {
            special = olderFourByteCode(bytes, i);
        }
        if (special != 0) {
            flush(i);
            appendCodePoint(result, special);
            runStart = i + len;
        }
        i += len;
    }
    flush(bytes.size());
    if (ok)
        *ok = good;
    return result;
}

int byteLength(const QString& text, bool crlf)
{
    int total = 0;
    bool ascii = true;
    for (const QChar c : text) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    total = ascii ? int(text.size()) : int(encode(text).size());
    if (crlf)
        total += int(text.count(QLatin1Char('\n')));
    return total;
}

QString truncate(const QString& text, int maxBytes, bool crlf)
{
    if (byteLength(text, crlf) <= maxBytes)
        return text;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype kept = 0;
    int used = 0;
    for (qsizetype end = finder.toNextBoundary(); end > kept; end = finder.toNextBoundary()) {
        used += byteLength(text.mid(kept, end - kept), crlf);
        if (used > maxBytes)
            break;
        kept = end;
    }
    return text.left(kept);
}

} // namespace Gbk
