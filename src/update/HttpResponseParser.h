#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

/// Reads one HTTP/1.1 answer from the bytes of a connection: the head, then the body in whichever framing the head
/// announces (a length, chunks, or up to the end of the connection). It holds no socket, so every framing fault can
/// be shown with plain bytes. Anything that is not well-formed HTTP ends in Error rather than in a shorter body.
class HttpResponseParser
{
public:
    enum class State {
        Head, ///< waiting for the complete head
        Body, ///< the head is read; body bytes follow
        Done, ///< the whole answer is read
        Error, ///< malformed, or cut off before its announced end
    };
    using Headers = QList<QPair<QByteArray, QByteArray>>;

    /// A head (status line and header block) or a chunk-size line longer than these is not HTTP.
    static constexpr qsizetype MaxHeadBytes = 64 * 1024;
    static constexpr qsizetype MaxLineBytes = 4096;

    /// Appends bytes as they arrive.
    void feed(const QByteArray& bytes) { m_in += bytes; }
    /// The server closed the connection: a body framed by the connection ends once its last bytes are taken, any
    /// other is cut off.
    void endOfStream();

    /// In state Head: reads the head once it is complete, skipping interim (1xx) answers. True when a final head has
    /// been read; the state is then Body (call startBody) or Error.
    bool readHead();
    /// Decides the body's framing from the head. An answer without a body (204, 304, length 0) is Done at once.
    void startBody();
    /// The body bytes decoded so far and not yet taken.
    QByteArray takeBody();

    State state() const { return m_state; }
    int status() const { return m_status; }
    const QByteArray& reason() const { return m_reason; }
    const Headers& headers() const { return m_headers; }
    /// The value of the first header of that name (any case); null when absent.
    QByteArray header(const QByteArray& name) const;
    /// Content-Length as digits only; -1 when absent or not a plain number.
    qint64 contentLength() const;
    /// Bytes received after the answer's end; a sound answer has none.
    bool trailingBytes() const { return m_state == State::Done && !m_in.isEmpty(); }

private:
    enum class Framing { Length, Chunked, UntilClose };
    enum class Chunk { Size, Data, DataEnd, Trailer };

    bool stepChunked(QByteArray& out);

    QByteArray m_in;
    State m_state = State::Head;
    int m_status = -1;
    QByteArray m_reason;
    Headers m_headers;
    Framing m_framing = Framing::UntilClose;
    Chunk m_chunk = Chunk::Size;
    qint64 m_remaining = 0;
    bool m_closed = false;
};
