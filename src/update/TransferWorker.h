#pragma once

#include "HttpResponseParser.h"
#include "HttpTransfer.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <memory>

class QAuthenticator;
class QFile;
class QTcpSocket;

/// One transfer of a THttpTransfer. It owns its connection, target file, memory body and figures, so that the
/// clean-up of a finished transfer can never touch the one a hook started after it.
///
/// It speaks HTTP/1.1 itself over a socket rather than through Qt's network access manager, because the update
/// must judge exactly what arrives: it follows redirects by its own rules, stops a body that grows past its limit
/// while it arrives, and treats a malformed chunked body as the failure it is (Qt reads a bad chunk size as the
/// end of the body, which turned a cut-off download into a success).
class TransferWorker : public QObject
{
public:
    explicit TransferWorker(THttpTransfer* owner);
    ~TransferWorker() override;

    /// Whether a redirect from `from` to `to` is followed: only to "http" or "https" with a host, and never from
    /// "https" down to "http".
    static bool FollowsRedirect(const QUrl& from, const QUrl& to);

    bool running() const { return m_running; }
    void start();
    /// Ends the transfer without any further hook; a partial target file is deleted.
    void abort();

private:
    bool current() const;
    /// Runs a hook with the results published; false when the transfer must not go on (aborted inside the hook,
    /// or ended meanwhile).
    template <typename Hook, typename... Args> bool deliver(const Hook& hook, Args&&... args);

    void request(const QUrl& url);
    void sendRequest();
    void dropSocket();
    void readSocket();
    void socketEnded();

    /// Processes what has arrived, one step at a time; safe against re-entry from a hook's event loop.
    void pump();
    bool step();
    void headArrived();
    /// Hands decoded body bytes to the target in blocks; false when the transfer ended.
    bool acceptBody(const QByteArray& bytes);
    bool storeBlock(const QByteArray& block);
    bool openTarget();
    /// Ends the transfer as failed; noResponse: no usable answer at all (status -1).
    void fail(bool noResponse);
    void stalled();
    void rateCheck();
    void proxyAuthentication(QAuthenticator* authenticator);

    void runLocalFile(const QString& path);
    void readLocalBlock();
    void complete();

    THttpTransfer* m_owner;
    QString m_url;
    QString m_targetFileName;
    bool m_useCache;
    QString m_acceptTypes;
    QString m_userAgent;
    THttpProxy m_proxy;
    int m_bufferSize;
    int m_minimumRate;
    int m_rateWindowMs;
    int m_maxRedirects;
    qint64 m_maxBodySize;
    QString m_username;
    QString m_password;
    QString m_proxyUsername;
    QString m_proxyPassword;
    QUrl m_requestUrl;
    bool m_viaHttpProxy = false;
    int m_redirects = 0;

    THttpTransfer::Results m_results;
    QTcpSocket* m_socket = nullptr;
    HttpResponseParser m_parser; ///< the answer of the current request
    bool m_eof = false; ///< the server closed the connection
    bool m_eofSeen = false;
    bool m_pumping = false;
    bool m_stallPending = false;

    std::unique_ptr<QFile> m_file;
    std::unique_ptr<QFile> m_source; ///< the local file of a "file" address
    QByteArray m_memory;
    QElapsedTimer m_clock;
    QTimer m_stall;
    QTimer m_rate;
    qint64 m_windowBytes = 0;
    bool m_running = false;
    bool m_aborted = false;
    bool m_completed = false;
    bool m_inAuthentication = false;
    bool m_targetFailed = false;
    bool m_readFailed = false;
    bool m_proxyTried = false;
};
