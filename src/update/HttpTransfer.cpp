#include "HttpTransfer.h"

#include "storage/Gbk.h"

#include <QAuthenticator>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace {

constexpr quint8 LoginInfoConstant = 0xA5;
/// A memory target is pre-sized to the announced length, but an absurd announcement must not reserve gigabytes.
constexpr qint64 MaxPresize = 64 * 1024 * 1024;

QString leftTrimmed(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    return text.mid(i);
}

/// Takes the text before the next separator off the front of rest; leading blanks of what remains are dropped.
QString takeToken(QString& rest, QChar separator)
{
    const qsizetype at = rest.indexOf(separator);
    QString token = at < 0 ? rest : rest.left(at);
    rest = at < 0 ? QString() : leftTrimmed(rest.mid(at + 1));
    return token;
}

int monthNumber(const QString& token)
{
    static const QStringList months
        = { QStringLiteral("JAN"), QStringLiteral("FEB"), QStringLiteral("MAR"), QStringLiteral("APR"),
            QStringLiteral("MAY"), QStringLiteral("JUN"), QStringLiteral("JUL"), QStringLiteral("AUG"),
            QStringLiteral("SEP"), QStringLiteral("OCT"), QStringLiteral("NOV"), QStringLiteral("DEC") };
    return int(months.indexOf(token.toUpper())) + 1;
}

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

} // namespace

int RoundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5)
        return int(floor) + 1;
    if (fraction < 0.5)
        return int(floor);
    return std::fmod(floor, 2.0) == 0 ? int(floor) : int(floor) + 1;
}

TransferFigures ComputeTransferFigures(qint64 contentLength, qint64 bytesTransferred, qint64 elapsedMs)
{
    TransferFigures f;
    if (contentLength > 0)
        f.PercentsDone
            = quint8(std::clamp(RoundHalfEven(double(bytesTransferred) * 100.0 / double(contentLength)), 0, 255));
    f.ElapsedTime = int(elapsedMs / 1000);
    if (bytesTransferred > 0 && contentLength > 0)
        f.EstimatedTimeLeft = std::max(
            0, RoundHalfEven(double(contentLength) / double(bytesTransferred) * f.ElapsedTime) - f.ElapsedTime);
    f.TransferRate = float(double(bytesTransferred) / 1024.0);
    if (f.ElapsedTime != 0)
        f.TransferRate /= float(f.ElapsedTime);
    return f;
}

QDateTime ParseHTTPDate(const QString& input)
{
    QString rest = input.trimmed();
    if (rest.isEmpty())
        return {};

    static const QStringList weekdays
        = { QStringLiteral("SUN"), QStringLiteral("MON"), QStringLiteral("TUE"), QStringLiteral("WED"),
            QStringLiteral("THU"), QStringLiteral("FRI"), QStringLiteral("SAT") };
    if (weekdays.contains(rest.left(3).toUpper())) {
        const qsizetype blank = rest.indexOf(QLatin1Char(' '));
        rest = blank < 0 ? QString() : leftTrimmed(rest.mid(blank + 1));
    }

    const qsizetype firstBlank = rest.indexOf(QLatin1Char(' '));
    const qsizetype dash = rest.indexOf(QLatin1Char('-'));
    const QChar separator = (dash >= 1 && (firstBlank < 0 || dash < firstBlank)) ? QLatin1Char('-') : QLatin1Char(' ');

    bool ok = false;
    int day = 1;
    int month = 0;
    const QString first = takeToken(rest, separator);
    if (monthNumber(first) > 0) {
        month = monthNumber(first);
        day = takeToken(rest, separator).toInt(&ok);
        if (!ok)
            day = 1;
    } else {
        day = first.toInt(&ok);
        if (!ok)
            day = 1;
        month = monthNumber(takeToken(rest, separator));
    }

    const QString yearToken = takeToken(rest, QLatin1Char(' '));
    int year = yearToken.toInt(&ok);
    if (!ok || year == 1900) {
        year = rest.trimmed().toInt(&ok);
        if (!ok)
            year = 1900;
        rest = yearToken;
    }
    if (year < 80)
        year += 2000;
    else if (year < 100)
        year += 1900;

    const QDate date(year, month, day);
    qint64 seconds = 0;
    if (rest.contains(QLatin1Char(':'))) {
        const QStringList parts = takeToken(rest, QLatin1Char(' ')).split(QLatin1Char(':'));
        const int factors[3] = { 3600, 60, 1 };
        for (int i = 0; i < 3 && i < parts.size(); ++i)
            seconds += qint64(parts.at(i).toInt()) * factors[i]; // not a number counts as 0
    }
    if (!date.isValid())
        return {};

    qint64 offsetSeconds = 0;
    const QString zone = leftTrimmed(rest);
    if (zone.size() > 4 && (zone.at(0) == QLatin1Char('+') || zone.at(0) == QLatin1Char('-'))) {
        const int hours = zone.mid(1, 2).toInt();
        const int minutes = zone.mid(3, 2).toInt();
        offsetSeconds = (qint64(hours) * 60 + minutes) * 60 * (zone.at(0) == QLatin1Char('-') ? -1 : 1);
    }
    return QDateTime(date, QTime(0, 0), Qt::UTC).addSecs(seconds - offsetSeconds).toLocalTime();
}

QByteArray EncodeLoginInfo(const QString& username, const QString& password)
{
    if (username.isEmpty() && password.isEmpty())
        return {};
    const QByteArray user = Gbk::encode(username);
    const QByteArray pass = Gbk::encode(password);
    const qsizetype n = 1 + user.size() + pass.size();
    if (user.size() > 255 || n > 255)
        return {};
    QByteArray plain;
    plain.append(char(user.size())).append(user).append(pass);
    const quint8 key = quint8(n) ^ LoginInfoConstant;
    QByteArray result(1, char(n));
    for (char c : plain)
        result.append(char(quint8(c) ^ key));
    return result;
}

bool DecodeLoginInfo(const QByteArray& data, QString& username, QString& password)
{
    username.clear();
    password.clear();
    if (data.isEmpty())
        return false;
    const int n = quint8(data.at(0));
    if (n < 1 || data.size() < 1 + n)
        return false;
    const quint8 key = quint8(n) ^ LoginInfoConstant;
    QByteArray plain;
    for (int i = 1; i <= n; ++i)
        plain.append(char(quint8(data.at(i)) ^ key));
    const int userLength = quint8(plain.at(0));
    if (userLength > n - 1)
        return false;
    username = Gbk::decode(plain.mid(1, userLength));
    password = Gbk::decode(plain.mid(1 + userLength));
    return true;
}

/// One transfer: owns its reply, target file, memory body and figures, so that the clean-up of a finished
/// transfer can never touch the one a hook started after it.
class TransferWorker : public QObject
{
public:
    explicit TransferWorker(THttpTransfer* owner)
        : QObject(owner)
        , m_owner(owner)
        , m_url(owner->RequestURL())
        , m_targetFileName(owner->TargetFileName())
        , m_useCache(owner->UseCache())
        , m_acceptTypes(owner->AcceptTypes())
        , m_userAgent(owner->UserAgent())
        , m_proxy(owner->Proxy())
        , m_bufferSize(owner->TransferBufferSize())
    {
        m_stall.setSingleShot(true);
        m_stall.setInterval(owner->StallTimeoutMs());
        connect(&m_stall, &QTimer::timeout, this, [this] { stalled(); });
    }

    bool running() const { return m_running; }

    void start()
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
        m_requestUrl = url;
        m_nam = new QNetworkAccessManager(this);
        m_nam->setProxy(proxyFor(url, m_proxy));
        m_nam->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
        connect(m_nam, &QNetworkAccessManager::proxyAuthenticationRequired, this,
                [this](const QNetworkProxy&, QAuthenticator* authenticator) { proxyAuthentication(authenticator); });
        sendRequest();
    }

    /// Ends the transfer without any further hook.
    void abort()
    {
        m_aborted = true;
        m_running = false;
        m_stall.stop();
        dropReply();
        if (m_file && !m_completed) {
            m_file->close();
            m_file->remove();
        }
        m_file.reset();
        m_source.reset();
        m_memory.clear();
        deleteLater();
    }

private:
    bool current() const { return m_owner->m_worker == this; }

    /// Runs a hook with the results published; false when the transfer must not go on (aborted inside the hook).
    template <typename Hook, typename... Args> bool deliver(const Hook& hook, Args&&... args)
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

    void sendRequest()
    {
        QNetworkRequest request(m_requestUrl);
        request.setHeader(QNetworkRequest::UserAgentHeader, m_userAgent);
        request.setRawHeader("Accept", m_acceptTypes.toLatin1());
        // The announced length is checked against the bytes read, so the body must arrive as sent.
        request.setRawHeader("Accept-Encoding", "identity");
        request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
        if (!m_useCache) {
            request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
            request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
            request.setRawHeader("Cache-Control", "no-cache");
            request.setRawHeader("Pragma", "no-cache");
        }
        if (!m_username.isEmpty() || !m_password.isEmpty())
            request.setRawHeader("Authorization",
                                 "Basic " + (m_username + QLatin1Char(':') + m_password).toUtf8().toBase64());
        m_reply = m_nam->get(request);
        QNetworkReply* reply = m_reply;
        connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] {
            if (reply == m_reply)
                headersArrived();
        });
        connect(reply, &QIODevice::readyRead, this, [this, reply] {
            if (reply != m_reply)
                return;
            m_stall.start();
            if (!m_headersDone)
                headersArrived();
            else
                readBody();
        });
        connect(reply, &QNetworkReply::finished, this, [this, reply] {
            if (reply == m_reply)
                replyFinished();
        });
        m_stall.start();
    }

    /// Lets go of the reply. An authentication answer (401, 407) is still being failed by Qt itself: aborting it as
    /// well would fail it twice, so it is only released.
    void dropReply()
    {
        if (!m_reply)
            return;
        QNetworkReply* reply = m_reply;
        m_reply = nullptr;
        reply->disconnect(this);
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (!reply->isFinished() && status != 401 && status != 407)
            reply->abort();
        reply->deleteLater();
    }

    void headersArrived()
    {
        if (m_headersDone || !m_reply || m_inAuthentication)
            return;
        const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (!status.isValid())
            return;
        m_stall.start();
        m_results.StatusCode = status.toInt();

        if (m_results.StatusCode == 401 && m_owner->OnAuthenticationRequest) {
            const QString header = QString::fromLatin1(m_reply->rawHeader("WWW-Authenticate"));
            const qsizetype at = header.indexOf(QLatin1String("=\""));
            m_results.Realm = at < 0 ? header : header.mid(at + 2).chopped(1);
            bool tryAgain = false;
            // The hook may show a modal window, whose event loop delivers this reply's further signals: they wait
            // until the answer is in, and the user's typing is not a stalled server.
            m_inAuthentication = true;
            m_finishedDuringAuthentication = false;
            m_stall.stop();
            const bool delivered = deliver(m_owner->OnAuthenticationRequest, m_results.Realm, tryAgain);
            m_inAuthentication = false;
            if (!delivered)
                return;
            m_stall.start();
            if (!tryAgain && m_finishedDuringAuthentication)
                QMetaObject::invokeMethod(
                    this,
                    [this, reply = m_reply] {
                        if (reply == m_reply)
                            replyFinished();
                    },
                    Qt::QueuedConnection);
            if (tryAgain) {
                m_username = m_owner->HTTPUsername();
                m_password = m_owner->HTTPPassword();
                dropReply();
                m_results.StatusCode = -1;
                sendRequest();
                return;
            }
        }

        m_headersDone = true;
        if (m_reply->hasRawHeader("Content-Type"))
            m_results.ContentType = QString::fromLatin1(m_reply->rawHeader("Content-Type"));
        m_results.ContentLength = m_reply->rawHeader("Content-Length").trimmed().toInt();

        if (m_owner->OnHeadersReceived) {
            QString raw = QStringLiteral("HTTP/1.1 %1 %2\r\n")
                              .arg(m_results.StatusCode)
                              .arg(QString::fromLatin1(
                                  m_reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray()));
            for (const auto& [name, value] : m_reply->rawHeaderPairs())
                raw += QString::fromLatin1(name) + QStringLiteral(": ") + QString::fromLatin1(value)
                    + QStringLiteral("\r\n");
            m_results.RawHeaders = raw;
            m_results.ContentLanguage = QString::fromLatin1(m_reply->rawHeader("Content-Language"));
            m_results.ContentEncoding = QString::fromLatin1(m_reply->rawHeader("Content-Encoding"));
            m_results.Location = QString::fromLatin1(m_reply->rawHeader("Location"));
            m_results.HeaderDate = ParseHTTPDate(QString::fromLatin1(m_reply->rawHeader("Date")));
            m_results.LastModified = ParseHTTPDate(QString::fromLatin1(m_reply->rawHeader("Last-Modified")));
            m_results.Expires = ParseHTTPDate(QString::fromLatin1(m_reply->rawHeader("Expires")));
            bool continueTransfer = true;
            if (!deliver(m_owner->OnHeadersReceived, m_results.RawHeaders, m_results.ContentType,
                         m_results.ContentLanguage, m_results.ContentEncoding, m_results.Location,
                         m_results.ContentLength, m_results.HeaderDate, m_results.LastModified, m_results.Expires,
                         continueTransfer))
                return;
            m_results.ContinueTransfer = continueTransfer;
        }
        if (!m_results.ContinueTransfer) {
            dropReply();
            complete();
            return;
        }
        if (!openTarget()) {
            dropReply();
            complete();
            return;
        }
        readBody();
    }

    bool openTarget()
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

    /// Writes one block to the target and reports progress; false when the transfer must stop.
    bool storeBlock(const QByteArray& block)
    {
        if (m_file) {
            if (m_file->write(block) != block.size()) {
                m_readFailed = true;
                return false;
            }
        } else {
            m_memory.append(block);
        }
        m_results.BytesTransferred += qint32(block.size());
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
        return true;
    }

    void readBody()
    {
        while (m_reply && m_reply->bytesAvailable() > 0) {
            const QByteArray block = m_reply->read(m_bufferSize);
            if (block.isEmpty())
                break;
            if (!storeBlock(block)) {
                if (m_readFailed && !m_aborted) {
                    dropReply();
                    complete();
                }
                return;
            }
        }
    }

    void replyFinished()
    {
        if (m_completed || m_aborted || !m_reply)
            return;
        if (m_inAuthentication) {
            m_finishedDuringAuthentication = true;
            return;
        }
        QNetworkReply* reply = m_reply;
        m_stall.stop();
        if (!m_headersDone) {
            headersArrived(); // a reply without body, or with no response at all (status stays -1)
            if (m_aborted || m_completed || m_reply != reply)
                return; // aborted, skipped, or sent again with credentials
        }
        if (m_headersDone)
            readBody();
        if (m_aborted || m_completed || m_reply != reply)
            return;
        if (reply->error() != QNetworkReply::NoError || m_timedOut)
            m_readFailed = true;
        dropReply();
        complete();
    }

    void stalled()
    {
        m_timedOut = true;
        if (m_reply)
            m_reply->abort(); // finishes the reply, which completes the transfer
    }

    void proxyAuthentication(QAuthenticator* authenticator)
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

    void runLocalFile(const QString& path)
    {
        if (m_aborted)
            return;
        m_source = std::make_unique<QFile>(path);
        m_results.StatusCode = m_source->open(QIODevice::ReadOnly) ? 200 : 404;
        m_results.ContentLength = m_results.StatusCode == 200 ? qint32(m_source->size()) : 0;
        m_headersDone = true;
        if (!openTarget() || m_results.StatusCode != 200) {
            complete();
            return;
        }
        readLocalBlock();
    }

    /// One block per pass of the event loop, so that a large local file keeps the program responsive.
    void readLocalBlock()
    {
        if (m_aborted)
            return;
        const QByteArray block = m_source->read(m_bufferSize);
        if (block.isEmpty()) {
            complete();
            return;
        }
        if (!storeBlock(block)) {
            if (!m_aborted)
                complete();
            return;
        }
        QTimer::singleShot(0, this, [this] { readLocalBlock(); });
    }

    void complete()
    {
        m_completed = true;
        m_running = false;
        m_stall.stop();
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
                deliver(m_owner->OnTransferDone, m_results.ContentType,
                        m_file ? static_cast<QIODevice*>(nullptr) : &body, m_results.BytesTransferred);
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

    THttpTransfer* m_owner;
    QString m_url;
    QString m_targetFileName;
    bool m_useCache;
    QString m_acceptTypes;
    QString m_userAgent;
    THttpProxy m_proxy;
    int m_bufferSize;
    QString m_username;
    QString m_password;
    QUrl m_requestUrl;

    THttpTransfer::Results m_results;
    QNetworkAccessManager* m_nam = nullptr;
    QNetworkReply* m_reply = nullptr;
    std::unique_ptr<QFile> m_file;
    std::unique_ptr<QFile> m_source; ///< the local file of a "file" address
    QByteArray m_memory;
    QElapsedTimer m_clock;
    QTimer m_stall;
    bool m_running = false;
    bool m_aborted = false;
    bool m_completed = false;
    bool m_headersDone = false;
    bool m_inAuthentication = false;
    bool m_finishedDuringAuthentication = false;
    bool m_targetFailed = false;
    bool m_readFailed = false;
    bool m_timedOut = false;
    bool m_proxyTried = false;
};

THttpTransfer::THttpTransfer(QObject* parent)
    : THttpLoginComponent(parent)
{ }

THttpTransfer::~THttpTransfer()
{
    AbortTransfer();
}

void THttpTransfer::setTransferBufferSize(int value)
{
    m_bufferSize = std::max(255, value);
}

bool THttpTransfer::StartTransfer()
{
    if (IsBusy())
        return false;
    m_results = Results();
    auto* worker = new TransferWorker(this);
    m_worker = worker;
    worker->start();
    return true;
}

void THttpTransfer::AbortTransfer()
{
    if (TransferWorker* worker = m_worker.data()) {
        m_worker = nullptr;
        worker->abort();
    }
}

bool THttpTransfer::IsBusy() const
{
    return m_worker && m_worker->running();
}
