#pragma once

#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>

/// A tiny HTTP/1.1 server on 127.0.0.1 for tests. Each request gets one scripted answer, sent as written, and the
/// connection is closed after it (so a body without Content-Length ends with the connection).
class LoopbackHttpServer : public QObject
{
public:
    struct Request
    {
        QByteArray method;
        QByteArray target; ///< as sent: a path, or a full address when sent to a proxy
        QMap<QByteArray, QByteArray> headers; ///< names in lower case
    };

    struct Answer
    {
        QByteArray bytes; ///< sent as is
        bool close = true; ///< close after sending; false leaves the client waiting (a stalled server)
    };

    using Handler = std::function<Answer(const Request&)>;

    explicit LoopbackHttpServer(QObject* parent = nullptr)
        : QObject(parent)
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())
                serve(socket);
        });
        m_server.listen(QHostAddress::LocalHost);
    }

    quint16 port() const { return m_server.serverPort(); }
    QString url(const QString& path) const { return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path); }

    /// Answers requests for this path (query included); unknown paths get 404.
    void route(const QByteArray& path, Handler handler) { m_routes.insert(path, std::move(handler)); }
    void route(const QByteArray& path, const QByteArray& answer)
    {
        route(path, [answer](const Request&) { return Answer{ answer }; });
    }

    QList<Request> requests;

    /// A complete answer with status line, headers and body.
    static QByteArray response(int status, const QByteArray& body, bool withLength = true,
                               const QByteArray& extraHeaders = QByteArray())
    {
        QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + " Status\r\nConnection: close\r\n";
        if (withLength)
            head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
        return head + extraHeaders + "\r\n" + body;
    }

private:
    void serve(QTcpSocket* socket)
    {
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
            buffer->append(socket->readAll());
            const qsizetype end = buffer->indexOf("\r\n\r\n");
            if (end < 0)
                return;
            Request request;
            const QList<QByteArray> lines = buffer->left(end).split('\n');
            const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
            request.method = first.value(0);
            request.target = first.value(1);
            for (qsizetype i = 1; i < lines.size(); ++i) {
                const qsizetype colon = lines.at(i).indexOf(':');
                if (colon > 0)
                    request.headers.insert(lines.at(i).left(colon).trimmed().toLower(),
                                           lines.at(i).mid(colon + 1).trimmed());
            }
            buffer->clear();
            requests << request;
            QByteArray path = request.target;
            if (path.startsWith("http://"))
                path = path.mid(path.indexOf('/', 7));
            const Answer answer
                = m_routes.contains(path) ? m_routes.value(path)(request) : Answer{ response(404, "missing") };
            socket->write(answer.bytes);
            if (answer.close)
                socket->disconnectFromHost();
        });
    }

    QTcpServer m_server;
    QMap<QByteArray, Handler> m_routes;
};
