#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QIODevice;
class TransferWorker;

/// How a transfer reaches the server.
enum THttpAccessType : int { atPreconfig = 0, atDirect = 1, atUseProxy = 2 };

/// Proxy use of every transfer. Hosts in ProxyBypass (";"-separated, "*" wildcards) are always fetched directly,
/// whatever the access type, so a loopback server is never sent through a proxy.
struct THttpProxy
{
    THttpAccessType AccessType = atPreconfig;
    int ProxyPort = 8080;
    QString ProxyServer;
    QString ProxyBypass = QStringLiteral("127.0.0.1;");
};

/// Priority of the worker; kept for the published interface.
enum class TThreadPriority : int { Idle, Lowest, BelowNormal, Normal, AboveNormal, Highest, TimeCritical };

/// Round to the nearest whole number, halves to the even one (2.5 -> 2, 3.5 -> 4).
int RoundHalfEven(double value);

/// The progress figures of one report.
struct TransferFigures
{
    quint8 PercentsDone = 0;
    int ElapsedTime = 0; ///< whole seconds since the transfer started
    int EstimatedTimeLeft = 0; ///< whole seconds
    float TransferRate = 0; ///< kilobytes per second
};
TransferFigures ComputeTransferFigures(qint64 contentLength, qint64 bytesTransferred, qint64 elapsedMs);

/// Parses the three date forms HTTP/1.1 allows (RFC 1123, RFC 850, asctime) with a zone name or a numeric
/// offset ("+0100"), and returns the moment in local time. An empty or unreadable text gives an invalid date-time.
QDateTime ParseHTTPDate(const QString& text);

/// The "LInfo" form of a user name and password: a length byte N, then N scrambled bytes (user length, user,
/// password). Empty when both are empty, or when they do not fit in 255 bytes (nothing is half-stored). The program's
/// own update window carries no credentials, but this is the component's stored form for one that does.
QByteArray EncodeLoginInfo(const QString& username, const QString& password);
/// Reverses EncodeLoginInfo; false (and empty credentials) when the data is malformed.
bool DecodeLoginInfo(const QByteArray& data, QString& username, QString& password);

/// Credentials shared by every transfer of a component.
class THttpLoginComponent : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    QString HTTPUsername() const { return m_username; }
    void setHTTPUsername(const QString& value) { m_username = value; }
    QString HTTPPassword() const { return m_password; }
    void setHTTPPassword(const QString& value) { m_password = value; }

private:
    QString m_username;
    QString m_password;
};

/// One download at a time of an "http", "https" or "file" address into a file or into memory. The outcome
/// arrives later through the hooks, always on the main thread; a hook fires only when assigned.
class THttpTransfer : public THttpLoginComponent
{
    Q_OBJECT
public:
    explicit THttpTransfer(QObject* parent = nullptr);
    ~THttpTransfer() override;

    // Settings of the next transfer.
    QString RequestURL() const { return m_requestURL; }
    void setRequestURL(const QString& value) { m_requestURL = value; }
    QString TargetFileName() const { return m_targetFileName; }
    void setTargetFileName(const QString& value) { m_targetFileName = value; }
    /// Kept for the interface; Linux has no hidden or temporary file attribute.
    bool HideTargetFile() const { return m_hideTargetFile; }
    void setHideTargetFile(bool value) { m_hideTargetFile = value; }
    bool UseCache() const { return m_useCache; }
    void setUseCache(bool value) { m_useCache = value; }
    QString AcceptTypes() const { return m_acceptTypes; }
    void setAcceptTypes(const QString& value) { m_acceptTypes = value; }
    QString UserAgent() const { return m_userAgent; }
    void setUserAgent(const QString& value) { m_userAgent = value; }
    THttpProxy& Proxy() { return m_proxy; }
    const THttpProxy& Proxy() const { return m_proxy; }
    int TransferBufferSize() const { return m_bufferSize; }
    /// Clamped to 255 .. 2147483647.
    void setTransferBufferSize(int value);
    TThreadPriority ThreadPriority() const { return m_priority; }
    void setThreadPriority(TThreadPriority value) { m_priority = value; }
    /// A transfer that receives nothing for this long ends: "unreachable" before any response, else as a failed
    /// read. The platform's own time-outs never end, so without this a silent server would hang the update.
    int StallTimeoutMs() const { return m_stallTimeoutMs; }
    void setStallTimeoutMs(int value) { m_stallTimeoutMs = value; }
    /// A server that drips a byte now and then keeps the stall timer quiet; a transfer that receives fewer than
    /// MinimumRate bytes per second on average over a whole RateWindowMs ends the same way.
    int MinimumRate() const { return m_minimumRate; }
    void setMinimumRate(int bytesPerSecond) { m_minimumRate = bytesPerSecond; }
    int RateWindowMs() const { return m_rateWindowMs; }
    void setRateWindowMs(int value) { m_rateWindowMs = value; }
    /// Redirects followed before the answer counts as final; a redirect from "https" to "http" is never followed.
    int MaxRedirects() const { return m_maxRedirects; }
    void setMaxRedirects(int value) { m_maxRedirects = value; }
    /// The most body bytes the transfer accepts; -1 for no limit. A body that would exceed it (or whose announced
    /// length does) ends the transfer at once as a failure with BodyTooLarge() set.
    qint64 MaxBodySize() const { return m_maxBodySize; }
    void setMaxBodySize(qint64 value) { m_maxBodySize = value; }

    /// False when a transfer of this instance is under way; otherwise starts a new one.
    bool StartTransfer();
    /// Ends the transfer under way; no hook of it arrives afterwards. A partial target file is deleted, so it can
    /// never be mistaken for a complete download.
    void AbortTransfer();
    bool IsBusy() const;

    // Results of the latest transfer; stable while its hooks run.
    int StatusCode() const { return m_results.StatusCode; }
    QString ContentType() const { return m_results.ContentType; }
    QString RawHeaders() const { return m_results.RawHeaders; }
    QString ContentLanguage() const { return m_results.ContentLanguage; }
    QString ContentEncoding() const { return m_results.ContentEncoding; }
    QString Location() const { return m_results.Location; }
    qint64 ContentLength() const { return m_results.ContentLength; }
    QDateTime HeaderDate() const { return m_results.HeaderDate; }
    QDateTime LastModified() const { return m_results.LastModified; }
    QDateTime Expires() const { return m_results.Expires; }
    qint64 BytesTransferred() const { return m_results.BytesTransferred; }
    /// The body was larger than MaxBodySize; the failure is reported through OnConnectionLost.
    bool BodyTooLarge() const { return m_results.BodyTooLarge; }
    /// The address of the final answer, after redirects.
    QString FinalURL() const { return m_results.FinalURL; }
    QString Realm() const { return m_results.Realm; }
    bool Succeeded() const { return m_results.Succeeded; }
    bool ContinueTransfer() const { return m_results.ContinueTransfer; }
    /// Cleared in OnHeadersReceived (through its parameter) to skip the body.
    void setContinueTransfer(bool value) { m_results.ContinueTransfer = value; }
    const TransferFigures& Figures() const { return m_results.Figures; }

    // Outcome hooks.
    std::function<void(const QString& RawHeaders, const QString& ContentType, const QString& ContentLanguage,
                       const QString& ContentEncoding, const QString& Location, qint64 ContentLength,
                       const QDateTime& HeaderDate, const QDateTime& LastModified, const QDateTime& Expires,
                       bool& ContinueTransfer)>
        OnHeadersReceived;
    std::function<void(const QString& ContentType, qint64 FileSize, qint64 BytesTransferred, int ElapsedTime,
                       int EstimatedTimeLeft, quint8 PercentsDone, float TransferRate, QIODevice* Body)>
        OnDownloadProgress;
    /// Body is the memory stream, or nullptr for a file target (the file is closed by then).
    std::function<void(const QString& ContentType, QIODevice* Body, qint64 BytesTransferred)> OnTransferDone;
    std::function<void()> OnTransferSkipped;
    std::function<void()> OnTransferFailed;
    std::function<void()> OnServerUnreachable;
    /// Body is the memory stream of a memory target, else nullptr.
    std::function<void(int StatusCode, QIODevice* Body)> OnHTTPStatusError;
    std::function<void(const QString& ContentType, QIODevice* Body, qint64 BytesTransferred, qint64 ContentLength)>
        OnConnectionLost;
    std::function<void(const QString& Realm, bool& TryAgain)> OnAuthenticationRequest;
    std::function<void(QString& ProxyUsername, QString& ProxyPassword, bool& TryAgain)> OnProxyAuthenticationRequest;

    /// Results filled by the worker of a transfer.
    struct Results
    {
        int StatusCode = -1;
        QString ContentType;
        QString RawHeaders;
        QString ContentLanguage;
        QString ContentEncoding;
        QString Location;
        qint64 ContentLength = 0;
        QDateTime HeaderDate;
        QDateTime LastModified;
        QDateTime Expires;
        qint64 BytesTransferred = 0;
        QString Realm;
        QString FinalURL;
        bool BodyTooLarge = false;
        bool Succeeded = false;
        bool ContinueTransfer = true;
        TransferFigures Figures;
    };

private:
    friend class TransferWorker;

    QString m_requestURL;
    QString m_targetFileName;
    bool m_hideTargetFile = false;
    bool m_useCache = true;
    QString m_acceptTypes = QStringLiteral("text/html, */*");
    QString m_userAgent = QStringLiteral("Vantrel HTTP transfer 1.0");
    THttpProxy m_proxy;
    int m_bufferSize = 4096;
    TThreadPriority m_priority = TThreadPriority::Normal;
    int m_stallTimeoutMs = 30000;
    int m_minimumRate = 1024;
    int m_rateWindowMs = 120000;
    int m_maxRedirects = 5;
    qint64 m_maxBodySize = -1;

    Results m_results;
    /// The transfer under way or completing; replaced when a hook starts the next one.
    QPointer<TransferWorker> m_worker;
};
