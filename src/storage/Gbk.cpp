#include "Gbk.h"

#include <QStringView>
#include <cerrno>
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
        out.resize(out.size() - int(dstLeft));
        return rc != size_t(-1) && srcLeft == 0;
    }

private:
    iconv_t m_cd;
};

Converter& toGbk()
{
    thread_local Converter c("GBK", "UTF-8");
    return c;
}
Converter& fromGbk()
{
    thread_local Converter c("UTF-8", "GBK");
    return c;
}

int charBytes(QStringView ch)
{
    if (ch.size() == 1 && ch.at(0).unicode() < 0x80)
        return 1;
    QByteArray out;
    if (toGbk().convert(ch.toUtf8(), out))
        return int(out.size());
    return 1; // written as "?"
}

} // namespace

namespace Gbk {

QByteArray encode(const QString& text)
{
    QByteArray out;
    if (toGbk().convert(text.toUtf8(), out))
        return out;
    // Slow path: something GBK cannot hold; keep every character that fits.
    out.clear();
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        QByteArray piece;
        if (toGbk().convert(text.mid(i, len).toUtf8(), piece))
            out += piece;
        else
            out += '?';
        i += len;
    }
    return out;
}

QString decode(const QByteArray& bytes, bool* ok)
{
    QByteArray out;
    if (fromGbk().convert(bytes, out)) {
        if (ok)
            *ok = true;
        return QString::fromUtf8(out);
    }
    if (ok)
        *ok = false;
    // Slow path: decode byte by byte, two at a time where a lead byte asks for it.
    QString result;
    for (qsizetype i = 0; i < bytes.size();) {
        const uchar b = uchar(bytes.at(i));
        if (b < 0x80) {
            result += QLatin1Char(char(b));
            ++i;
            continue;
        }
        if (i + 1 < bytes.size() && fromGbk().convert(bytes.mid(i, 2), out)) {
            result += QString::fromUtf8(out);
            i += 2;
            continue;
        }
        result += QChar(0xFFFD);
        ++i;
    }
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
    if (ascii) {
        total = int(text.size());
        if (crlf)
            total += int(text.count(QLatin1Char('\n')));
        return total;
    }
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QStringView ch = QStringView(text).mid(i, len);
        total += (crlf && ch == u"\n") ? 2 : charBytes(ch);
        i += len;
    }
    return total;
}

QString truncate(const QString& text, int maxBytes, bool crlf)
{
    int total = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QStringView ch = QStringView(text).mid(i, len);
        const int n = (crlf && ch == u"\n") ? 2 : charBytes(ch);
        if (total + n > maxBytes)
            return text.left(i);
        total += n;
        i += len;
    }
    return text;
}

} // namespace Gbk
