#include "TransferWorker.h"

#include <QAuthenticator>
#include <QBuffer>
#include <QFile>
#include <QNetworkProxy>
#include <QNetworkProxyFactory>
#include <QRegularExpression>
#include <QSslSocket>
#include <QTcpSocket>

#include <algorithm>
#include <limits>

namespace {

/// A memory target is pre-sized to the announced length, but an absurd announcement must not reserve gigabytes.
constexpr qint64 MaxPresize = 64 * 1024 * 1024;

bool hostBypassed(const QString& host, const QString& bypassList)
{
    const QStringList entries = bypassList.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString entry : entries) {
        entry = entry.trimmed();
        if (entry.isEmpty())
            continue;
        if (entry.compare(QLatin1String("<local>"), Qt::CaseInsensitive) == 0) {
            if (!host.contains(QLatin1Char('.')))
                return true;
            continue;
        }
        const QRegularExpression pattern = QRegularExpression::fromWildcard(
            entry, Qt::CaseInsensitive, QRegularExpression::UnanchoredWildcardConversion);
        if (QRegularExpression(QRegularExpression::anchoredPattern(pattern.pattern()), pattern.patternOptions())
                .match(host)
                .hasMatch())
            return true;
    }
    return false;
}

QNetworkProxy proxyFor(const QUrl& url, const THttpProxy& proxy)
{
    if (hostBypassed(url.host(), proxy.ProxyBypass))
        return QNetworkProxy(QNetworkProxy::NoProxy);
    switch (proxy.AccessType) {
    case atDirect:
        return QNetworkProxy(QNetworkProxy::NoProxy);
    case atUseProxy:
        return QNetworkProxy(QNetworkProxy::HttpProxy, proxy.ProxyServer, quint16(proxy.ProxyPort));
    case atPreconfig:
        break;
    }
    const QList<QNetworkProxy> system = QNetworkProxyFactory::systemProxyForQuery(QNetworkProxyQuery(url));
    return system.isEmpty() ? QNetworkProxy(QNetworkProxy::NoProxy) : system.first();
}

/// A header value as it may be sent: no line break can smuggle in another header.
QByteArray headerSafe(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    bytes.replace('\r', ' ').replace('\n', ' ');
    return bytes;
}

QByteArray basicCredentials(const QString& user, const QString& password)
{
    return "Basic " + (user + QLatin1Char(':') + password).toUtf8().toBase64();
}

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

} // namespace

TransferWorker::TransferWorker(THttpTransfer* owner)
    : QObject(owner)
    , m_owner(owner)
    , m_url(owner->RequestURL())
    , m_targetFileName(owner->TargetFileName())
    , m_useCache(owner->UseCache())
    , m_acceptTypes(owner->AcceptTypes())
    , m_userAgent(owner->UserAgent())
    , m_proxy(owner->Proxy())
    , m_bufferSize(owner->TransferBufferSize())
    , m_minimumRate(owner->MinimumRate())
    , m_rateWindowMs(owner->RateWindowMs())
    , m_maxRedirects(owner->MaxRedirects())
    , m_maxBodySize(owner->MaxBodySize())
{
    m_stall.setSingleShot(true);
    m_stall.setInterval(owner->StallTimeoutMs());
    connect(&m_stall, &QTimer::timeout, this, [this] { stalled(); });
    connect(&m_rate, &QTimer::timeout, this, [this] { rateCheck(); });
}

TransferWorker::~TransferWorker() = default;

bool TransferWorker::FollowsRedirect(const QUrl& from, const QUrl& to)
{
    const QString scheme = to.scheme().toLower();
    if ((scheme != QLatin1String("http") && scheme != QLatin1String("https")) || to.host().isEmpty())
        return false;
    return !(from.scheme().toLower() == QLatin1String("https") && scheme == QLatin1String("http"));
}

bool TransferWorker::current() const
{
    return m_owner->m_worker == this;
}

template <typename Hook, typename... Args> bool TransferWorker::deliver(const Hook& hook, Args&&... args)
{
    if (m_aborted)
        return false;
    if (!hook)
        return true;
    if (current())
        m_owner->m_results = m_results;
    QPointer<TransferWorker> self(this);
    const Hook copy = hook; // the hook may reassign itself
    copy(std::forward<Args>(args)...);
    return self && !m_aborted;
}

void TransferWorker::start()
{
    m_running = true;
    m_clock.start();
    if (!m_url.contains(QLatin1String("://")))
        m_url.prepend(QStringLiteral("http://"));
    QUrl url(m_url, QUrl::TolerantMode);
    if (url.scheme() == QLatin1String("file")) {
        QTimer::singleShot(0, this, [this, url] { runLocalFile(url.toLocalFile()); });
        return;
    }
    m_username = url.userName().isEmpty() ? m_owner->HTTPUsername() : url.userName();
    m_password = url.password().isEmpty() ? m_owner->HTTPPassword() : url.password();
    url.setUserInfo(QString());
    if (m_minimumRate > 0 && m_rateWindowMs > 0)
        m_rate.start(m_rateWindowMs);
    request(url);
}

void TransferWorker::abort()
{
    m_aborted = true;
    m_running = false;
    m_stall.stop();
    m_rate.stop();
    dropSocket();
    if (m_file && !m_completed) {
        m_file->close();
        m_file->remove();
    }
    m_file.reset();
    m_source.reset();
    m_memory.clear();
    deleteLater();
}

void TransferWorker::request(const QUrl& url)
{
    dropSocket();
    m_requestUrl = url;
    m_results.FinalURL = url.toString();
    m_results.StatusCode = -1;
    m_parser = HttpResponseParser();
    m_eof = false;
    m_eofSeen = false;

    const bool https = url.scheme() == QLatin1String("https");
    if (!https && url.scheme() != QLatin1String("http")) {
        QTimer::singleShot(0, this, [this] { fail(true); });
        return;
    }
    QTcpSocket* socket = https ? new QSslSocket(this) : new QTcpSocket(this);
    m_socket = socket;
    QString host = url.host();
    quint16 port = quint16(url.port(https ? 443 : 80));
    const QNetworkProxy proxy = proxyFor(url, m_proxy);
    m_viaHttpProxy = false;
    if (proxy.type() == QNetworkProxy::HttpProxy && !https) {
        // A plain request goes to the proxy with the full address; an encrypted one is tunnelled through it.
        socket->setProxy(QNetworkProxy::NoProxy);
        host = proxy.hostName();
        port = proxy.port();
        m_viaHttpProxy = true;
    } else if (proxy.type() == QNetworkProxy::HttpProxy || proxy.type() == QNetworkProxy::Socks5Proxy) {
        socket->setProxy(proxy);
    } else {
        socket->setProxy(QNetworkProxy::NoProxy);
    }

    connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
        if (socket == m_socket)
            readSocket();
    });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
        if (socket == m_socket)
            socketEnded();
    });
    connect(socket, &QAbstractSocket::errorOccurred, this, [this, socket](QAbstractSocket::SocketError error) {
        if (socket != m_socket)
            return;
        if (error == QAbstractSocket::RemoteHostClosedError) {
            socketEnded();
            return;
        }
        fail(m_parser.state() == HttpResponseParser::State::Head);
    });
    connect(socket, &QAbstractSocket::proxyAuthenticationRequired, this,
            [this](const QNetworkProxy&, QAuthenticator* authenticator) { proxyAuthentication(authenticator); });
    if (https) {
        auto* ssl = static_cast<QSslSocket*>(socket);
        connect(ssl, &QSslSocket::encrypted, this, [this, socket] {
            if (socket == m_socket)
                sendRequest();
        });
        ssl->connectToHostEncrypted(host, port);
    } else {
        connect(socket, &QTcpSocket::connected, this, [this, socket] {
            if (socket == m_socket)
                sendRequest();
        });
        socket->connectToHost(host, port);
    }
    m_stall.start();
}

void TransferWorker::sendRequest()
{
    QByteArray target;
    if (m_viaHttpProxy) {
        target = m_requestUrl.toEncoded(QUrl::RemoveUserInfo | QUrl::RemoveFragment);
    } else {
        target = m_requestUrl.path(QUrl::FullyEncoded).toLatin1();
        if (target.isEmpty())
            target = "/";
        if (m_requestUrl.hasQuery())
            target += '?' + m_requestUrl.query(QUrl::FullyEncoded).toLatin1();
    }
    QByteArray head = "GET " + target + " HTTP/1.1\r\n";
    head += "Host: " + m_requestUrl.adjusted(QUrl::RemoveUserInfo).authority(QUrl::FullyEncoded).toLatin1() + "\r\n";
    head += "User-Agent: " + headerSafe(m_userAgent) + "\r\n";
    head += "Accept: " + headerSafe(m_acceptTypes) + "\r\n";
    // The announced length is checked against the bytes read, so the body must arrive as sent.
    head += "Accept-Encoding: identity\r\nConnection: close\r\n";
    if (!m_useCache)
        head += "Cache-Control: no-cache\r\nPragma: no-cache\r\n";
    if (!m_username.isEmpty() || !m_password.isEmpty())
        head += "Authorization: " + basicCredentials(m_username, m_password) + "\r\n";
    if (m_viaHttpProxy && (!m_proxyUsername.isEmpty() || !m_proxyPassword.isEmpty()))
        head += "Proxy-Authorization: " + basicCredentials(m_proxyUsername, m_proxyPassword) + "\r\n";
    m_socket->write(head + "\r\n");
    m_stall.start();
}

void TransferWorker::dropSocket()
{
    if (!m_socket)
        return;
    QTcpSocket* socket = m_socket;
    m_socket = nullptr;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

void TransferWorker::readSocket()
{
    const QByteArray data = m_socket->readAll();
    if (data.isEmpty())
        return;
    m_windowBytes += data.size();
    m_stall.start();
    m_parser.feed(data);
    pump();
}

void TransferWorker::socketEnded()
{
    if (m_socket && m_socket->bytesAvailable() > 0)
        m_parser.feed(m_socket->readAll());
    m_eof = true;
    pump();
}

void TransferWorker::pump()
{
    if (m_pumping || m_completed || m_aborted)
        return;
    m_pumping = true;
    QPointer<TransferWorker> self(this);
    for (;;) {
        while (step()) {
            if (!self)
                return;
        }
        if (!self)
            return;
        if (m_completed || m_aborted || !m_eof || m_eofSeen)
            break;
        m_eofSeen = true;
        m_parser.endOfStream();
    }
    m_pumping = false;
    if (m_stallPending)
        stalled();
}

bool TransferWorker::step()
{
    using State = HttpResponseParser::State;
    if (m_completed || m_aborted)
        return false;
    if (m_parser.state() == State::Head) {
        if (m_parser.readHead()) {
            m_results.StatusCode = m_parser.status();
            headArrived();
            return true;
        }
        if (m_parser.state() == State::Error)
            fail(true); // no answer that HTTP would call one
        return false;
    }
    const QByteArray bytes = m_parser.takeBody();
    if (!bytes.isEmpty() && !acceptBody(bytes))
        return false;
    if (m_parser.state() == State::Done) {
        // Bytes beyond the answer's announced end mean it is not what it claims to be.
        m_readFailed = m_parser.trailingBytes();
        dropSocket();
        complete();
    } else if (m_parser.state() == State::Error) {
        fail(false);
    }
    return false;
}

void TransferWorker::headArrived()
{
    const int status = m_results.StatusCode;
    const QByteArray location = m_parser.header("Location");
    if (isRedirect(status) && !location.isEmpty() && m_redirects < m_maxRedirects) {
        const QUrl next = m_requestUrl.resolved(QUrl::fromEncoded(location, QUrl::TolerantMode));
        if (FollowsRedirect(m_requestUrl, next)) {
            ++m_redirects;
            // Credentials belong to the server they were given for.
            if (next.host() != m_requestUrl.host() || next.port() != m_requestUrl.port()) {
                m_username.clear();
                m_password.clear();
            }
            QUrl target = next;
            target.setUserInfo(QString());
            request(target);
            return;
        }
    }

    if (status == 401 && m_owner->OnAuthenticationRequest) {
        const QString wwwAuthenticate = QString::fromLatin1(m_parser.header("WWW-Authenticate"));
        const qsizetype at = wwwAuthenticate.indexOf(QLatin1String("=\""));
        m_results.Realm = at < 0 ? wwwAuthenticate : wwwAuthenticate.mid(at + 2).chopped(1);
        bool tryAgain = false;
        // The hook may show a modal window, whose event loop delivers this connection's further data: it waits
        // until the answer is in, and the user's typing is not a stalled server.
        m_inAuthentication = true;
        m_stall.stop();
        m_rate.stop();
        const bool delivered = deliver(m_owner->OnAuthenticationRequest, m_results.Realm, tryAgain);
        m_inAuthentication = false;
        if (!delivered)
            return;
        m_stall.start();
        if (m_minimumRate > 0 && m_rateWindowMs > 0)
            m_rate.start(m_rateWindowMs);
        m_windowBytes = 0;
        if (tryAgain) {
            m_username = m_owner->HTTPUsername();
            m_password = m_owner->HTTPPassword();
            request(m_requestUrl);
            return;
        }
    }
    if (status == 407 && m_viaHttpProxy && m_owner->OnProxyAuthenticationRequest && !m_proxyTried) {
        QString user;
        QString password;
        bool tryAgain = false;
        if (!deliver(m_owner->OnProxyAuthenticationRequest, user, password, tryAgain))
            return;
        if (tryAgain) {
            m_proxyTried = true;
            m_proxyUsername = user;
            m_proxyPassword = password;
            request(m_requestUrl);
            return;
        }
    }

    const QByteArray contentType = m_parser.header("Content-Type");
    if (!contentType.isNull())
        m_results.ContentType = QString::fromLatin1(contentType);
    // A chunked body's length is in its chunks; a Content-Length beside it means nothing.
    const bool chunked = m_parser.header("Transfer-Encoding").toLower().contains("chunked");
    m_results.ContentLength = chunked ? 0 : std::max<qint64>(m_parser.contentLength(), 0);

    if (m_owner->OnHeadersReceived) {
        QString raw = QStringLiteral("HTTP/1.1 %1 %2\r\n").arg(status).arg(QString::fromLatin1(m_parser.reason()));
        for (const auto& [name, value] : m_parser.headers())
            raw += QString::fromLatin1(name) + QStringLiteral(": ") + QString::fromLatin1(value)
                + QStringLiteral("\r\n");
        m_results.RawHeaders = raw;
        m_results.ContentLanguage = QString::fromLatin1(m_parser.header("Content-Language"));
        m_results.ContentEncoding = QString::fromLatin1(m_parser.header("Content-Encoding"));
        m_results.Location = QString::fromLatin1(location);
        m_results.HeaderDate = ParseHTTPDate(QString::fromLatin1(m_parser.header("Date")));
        m_results.LastModified = ParseHTTPDate(QString::fromLatin1(m_parser.header("Last-Modified")));
        m_results.Expires = ParseHTTPDate(QString::fromLatin1(m_parser.header("Expires")));
        bool continueTransfer = true;
        if (!deliver(m_owner->OnHeadersReceived, m_results.RawHeaders, m_results.ContentType, m_results.ContentLanguage,
                     m_results.ContentEncoding, m_results.Location, m_results.ContentLength, m_results.HeaderDate,
                     m_results.LastModified, m_results.Expires, continueTransfer))
            return;
        m_results.ContinueTransfer = continueTransfer;
    }
    if (!m_results.ContinueTransfer) {
        dropSocket();
        complete();
        return;
    }
    if (m_maxBodySize >= 0 && m_results.ContentLength > m_maxBodySize) {
        m_results.BodyTooLarge = true;
        fail(false);
        return;
    }
    if (!openTarget()) {
        dropSocket();
        complete();
        return;
    }

    m_parser.startBody();
}

bool TransferWorker::acceptBody(const QByteArray& bytes)
{
    if (m_maxBodySize >= 0 && m_results.BytesTransferred + bytes.size() > m_maxBodySize) {
        m_results.BodyTooLarge = true;
        fail(false);
        return false;
    }
    for (qsizetype at = 0; at < bytes.size(); at += m_bufferSize) {
        if (!storeBlock(bytes.mid(at, m_bufferSize)))
            return false;
    }
    return true;
}

bool TransferWorker::openTarget()
{
    if (m_targetFileName.isEmpty()) {
        m_memory.reserve(std::min<qint64>(m_results.ContentLength, MaxPresize));
        return true;
    }
    QFile::remove(m_targetFileName);
    m_file = std::make_unique<QFile>(m_targetFileName);
    if (!m_file->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_file.reset();
        m_targetFailed = true;
        return false;
    }
    return true;
}

bool TransferWorker::storeBlock(const QByteArray& block)
{
    if (m_file) {
        if (m_file->write(block) != block.size()) {
            fail(false);
            return false;
        }
    } else {
        m_memory.append(block);
    }
    m_results.BytesTransferred += block.size();
    if (m_owner->OnDownloadProgress) {
        m_results.Figures
            = ComputeTransferFigures(m_results.ContentLength, m_results.BytesTransferred, m_clock.elapsed());
        QBuffer body(&m_memory);
        body.open(QIODevice::ReadOnly);
        const TransferFigures& f = m_results.Figures;
        if (!deliver(m_owner->OnDownloadProgress, m_results.ContentType, m_results.ContentLength,
                     m_results.BytesTransferred, f.ElapsedTime, f.EstimatedTimeLeft, f.PercentsDone, f.TransferRate,
                     m_file ? static_cast<QIODevice*>(nullptr) : &body))
            return false;
    }
    return !m_completed;
}

void TransferWorker::fail(bool noResponse)
{
    if (m_completed || m_aborted)
        return;
    if (noResponse)
        m_results.StatusCode = -1;
    m_readFailed = true;
    dropSocket();
    complete();
}

void TransferWorker::stalled()
{
    if (m_completed || m_aborted || m_inAuthentication)
        return;
    if (m_pumping) {
        m_stallPending = true;
        return;
    }
    fail(m_parser.state() == HttpResponseParser::State::Head);
}

void TransferWorker::rateCheck()
{
    const qint64 needed = qint64(m_minimumRate) * m_rateWindowMs / 1000;
    if (m_windowBytes < needed)
        stalled();
    m_windowBytes = 0;
}

void TransferWorker::proxyAuthentication(QAuthenticator* authenticator)
{
    if (!m_owner->OnProxyAuthenticationRequest || m_proxyTried)
        return;
    QString user;
    QString password;
    bool tryAgain = false;
    if (!deliver(m_owner->OnProxyAuthenticationRequest, user, password, tryAgain))
        return;
    if (tryAgain) {
        m_proxyTried = true;
        authenticator->setUser(user);
        authenticator->setPassword(password);
    }
}

void TransferWorker::runLocalFile(const QString& path)
{
    if (m_aborted)
        return;
    m_source = std::make_unique<QFile>(path);
    m_results.StatusCode = m_source->open(QIODevice::ReadOnly) ? 200 : 404;
    m_results.ContentLength = m_results.StatusCode == 200 ? m_source->size() : 0;
    if (m_results.StatusCode == 200 && m_maxBodySize >= 0 && m_results.ContentLength > m_maxBodySize) {
        m_results.BodyTooLarge = true;
        fail(false);
        return;
    }
    if (!openTarget() || m_results.StatusCode != 200) {
        complete();
        return;
    }
    readLocalBlock();
}

void TransferWorker::readLocalBlock()
{
    if (m_aborted || m_completed)
        return;
    const QByteArray block = m_source->read(m_bufferSize);
    if (block.isEmpty()) {
        complete();
        return;
    }
    if (!acceptBody(block))
        return;
    // One block per pass of the event loop, so that a large local file keeps the program responsive.
    QTimer::singleShot(0, this, [this] { readLocalBlock(); });
}

void TransferWorker::complete()
{
    m_completed = true;
    m_running = false;
    m_stall.stop();
    m_rate.stop();
    m_source.reset();
    if (m_file)
        m_file->close();

    bool succeeded = m_results.StatusCode == 200 && !m_readFailed;
    if (succeeded && m_results.ContentLength != 0 && !m_targetFailed)
        succeeded = m_results.ContentLength == m_results.BytesTransferred;
    m_results.Succeeded = succeeded && m_results.ContinueTransfer;

    QPointer<TransferWorker> self(this);
    if (!m_results.ContinueTransfer) {
        deliver(m_owner->OnTransferSkipped);
    } else if (succeeded) {
        if (m_targetFailed) {
            deliver(m_owner->OnTransferFailed);
        } else {
            QBuffer body(&m_memory);
            body.open(QIODevice::ReadOnly);
            deliver(m_owner->OnTransferDone, m_results.ContentType, m_file ? static_cast<QIODevice*>(nullptr) : &body,
                    m_results.BytesTransferred);
        }
    } else {
        m_results.Succeeded = false;
        if (m_file)
            m_file->remove();
        m_file.reset();
        if (deliver(m_owner->OnTransferFailed) && !m_targetFailed) {
            QBuffer body(&m_memory);
            body.open(QIODevice::ReadOnly);
            QIODevice* stream = m_targetFileName.isEmpty() ? &body : nullptr;
            if (m_results.StatusCode == -1)
                deliver(m_owner->OnServerUnreachable);
            else if (m_results.StatusCode == 200)
                deliver(m_owner->OnConnectionLost, m_results.ContentType, stream, m_results.BytesTransferred,
                        m_results.ContentLength);
            else
                deliver(m_owner->OnHTTPStatusError, m_results.StatusCode, stream);
        }
    }
    if (!self)
        return;
    m_file.reset();
    m_memory.clear();
    if (!m_aborted)
        deleteLater();
}
