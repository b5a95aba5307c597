#include "HttpResponseParser.h"

namespace {

/// Hexadecimal digits, optionally followed by extensions after ";". -1 when malformed.
qint64 parseChunkSize(const QByteArray& line)
{
    const qsizetype semicolon = line.indexOf(';');
    const QByteArray digits = (semicolon < 0 ? line : line.left(semicolon)).trimmed();
    if (digits.isEmpty() || digits.size() > 15)
        return -1;
    qint64 value = 0;
    for (char c : digits) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

} // namespace

QByteArray HttpResponseParser::header(const QByteArray& name) const
{
    for (const auto& [key, value] : m_headers)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    return {};
}

qint64 HttpResponseParser::contentLength() const
{
    const QByteArray digits = header("Content-Length").trimmed();
    if (digits.isEmpty() || digits.size() > 18)
        return -1;
    qint64 value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

void HttpResponseParser::endOfStream()
{
    m_closed = true;
    if (m_state == State::Body && m_framing == Framing::UntilClose)
        return; // done once the last bytes are taken
    if (m_state == State::Head || m_state == State::Body)
        m_state = State::Error;
}

bool HttpResponseParser::readHead()
{
    while (m_state == State::Head) {
        const qsizetype end = m_in.indexOf("\r\n\r\n");
        if (end < 0) {
            if (m_in.size() > MaxHeadBytes)
                m_state = State::Error;
            return false;
        }
        const QList<QByteArray> lines = m_in.left(end).split('\n');
        m_in.remove(0, end + 4);
        // "HTTP/1.x NNN reason"
        const QByteArray statusLine = lines.first().trimmed();
        bool ok = false;
        const int status = statusLine.mid(9, 3).toInt(&ok);
        if (!statusLine.startsWith("HTTP/1.") || statusLine.size() < 12 || statusLine.at(8) != ' ' || !ok
            || status < 100 || (statusLine.size() > 12 && statusLine.at(12) != ' ')) {
            m_state = State::Error;
            return false;
        }
        if (status < 200)
            continue; // an interim answer; the real one follows
        m_status = status;
        m_reason = statusLine.mid(13);
        m_headers.clear();
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QByteArray line = lines.at(i).endsWith('\r') ? lines.at(i).chopped(1) : lines.at(i);
            const qsizetype colon = line.indexOf(':');
            if (colon > 0)
                m_headers.append({ line.left(colon).trimmed(), line.mid(colon + 1).trimmed() });
        }
        m_state = State::Body;
        return true;
    }
    return false;
}

void HttpResponseParser::startBody()
{
    const qint64 length = contentLength();
    m_chunk = Chunk::Size;
    if (m_status == 204 || m_status == 304) {
        m_state = State::Done;
    } else if (header("Transfer-Encoding").toLower().contains("chunked")) {
        m_framing = Framing::Chunked;
    } else if (length >= 0) {
        m_framing = Framing::Length;
        m_remaining = length;
        if (length == 0)
            m_state = State::Done;
    } else {
        m_framing = Framing::UntilClose;
    }
}

QByteArray HttpResponseParser::takeBody()
{
    QByteArray out;
    if (m_state != State::Body)
        return out;
    switch (m_framing) {
    case Framing::UntilClose:
        out.swap(m_in);
        if (m_closed)
            m_state = State::Done;
        break;
    case Framing::Length:
        out = m_in.left(m_remaining);
        m_in.remove(0, out.size());
        m_remaining -= out.size();
        if (m_remaining == 0)
            m_state = State::Done;
        break;
    case Framing::Chunked:
        while (m_state == State::Body && stepChunked(out)) { }
        break;
    }
    return out;
}

bool HttpResponseParser::stepChunked(QByteArray& out)
{
    switch (m_chunk) {
    case Chunk::Size:
    case Chunk::Trailer: {
        const qsizetype end = m_in.indexOf("\r\n");
        if (end < 0) {
            if (m_in.size() > MaxLineBytes)
                m_state = State::Error;
            return false;
        }
        const QByteArray line = m_in.left(end);
        m_in.remove(0, end + 2);
        if (m_chunk == Chunk::Trailer) {
            if (line.isEmpty())
                m_state = State::Done;
            return true; // a trailer field is not needed
        }
        const qint64 size = parseChunkSize(line);
        if (size < 0) {
            m_state = State::Error;
            return false;
        }
        m_remaining = size;
        m_chunk = size == 0 ? Chunk::Trailer : Chunk::Data;
        return true;
    }
    case Chunk::Data: {
        const QByteArray bytes = m_in.left(m_remaining);
        if (bytes.isEmpty())
            return false;
        m_in.remove(0, bytes.size());
        m_remaining -= bytes.size();
        out += bytes;
        if (m_remaining == 0)
            m_chunk = Chunk::DataEnd;
        return true;
    }
    case Chunk::DataEnd:
        if (m_in.size() < 2)
            return false;
        if (!m_in.startsWith("\r\n")) {
            m_state = State::Error;
            return false;
        }
        m_in.remove(0, 2);
        m_chunk = Chunk::Size;
        return true;
    }
    return false;
}
