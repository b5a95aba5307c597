#include "TAppUpdater.h"

#include "UpdateConstants.h"
#include "VersionRules.h"
#include "platform/Clock.h"
#include "platform/Services.h"
#include "platform/WebPage.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QNetworkInterface>
#include <QStringDecoder>
#include <QTimer>
#include <QUrl>

#include "storage/Gbk.h"

namespace {

TAppUpdaterWindows* g_windows = nullptr;

/// The information file is 8-bit text: UTF-8 when it reads as such, otherwise the GBK code page.
QString decodeInfoText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return Gbk::decode(bytes);
}

QByteArray asciiLower(QByteArray bytes)
{
    for (char& c : bytes)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return bytes;
}

QString hostOf(const QString& address)
{
    QString url = address;
    if (!url.contains(QLatin1String("://")))
        url.prepend(QStringLiteral("http://"));
    return QUrl(url, QUrl::TolerantMode).host();
}

} // namespace

void TAppUpdaterWizard::setLanguage(TAppUpdaterLanguage value)
{
    m_language = value;
    UpdateMessages::SelectLanguage(value);
}

TAppUpdater::TAppUpdater(QObject* parent)
    : THttpTransfer(parent)
{
    setHideTargetFile(true);

    OnHeadersReceived
        = [this](const QString&, const QString&, const QString&, const QString&, const QString&, qint32 contentLength,
                 const QDateTime&, const QDateTime& lastModified, const QDateTime&, bool& continueTransfer) {
              if (!m_infoPhase)
                  FileHeadersReceived(contentLength, lastModified, continueTransfer);
          };
    OnDownloadProgress = [this](const QString&, qint32 fileSize, qint32 bytesRead, int elapsedTime,
                                int estimatedTimeLeft, quint8 percentsDone, float transferRate, QIODevice*) {
        if (!m_infoPhase)
            FileProgress(fileSize, bytesRead, elapsedTime, estimatedTimeLeft, percentsDone, transferRate);
    };
    OnTransferDone = [this](const QString&, QIODevice* body, qint32) {
        if (m_infoPhase)
            ParseInfoFile(body ? body->readAll() : QByteArray());
        else
            FileDone();
    };
    OnTransferSkipped = [this] {
        if (!m_infoPhase)
            FileSkipped();
    };
    OnConnectionLost = [this](const QString&, QIODevice*, qint32, qint32) { ConnectionLostHook(); };
    OnServerUnreachable = [this] { ServerUnreachableHook(); };
    OnHTTPStatusError = [this](int statusCode, QIODevice*) { StatusErrorHook(statusCode); };
    OnAuthenticationRequest = [this](const QString& realm, bool& tryAgain) { AuthenticationHook(realm, tryAgain); };

    DeleteLeftoverHelper();
    m_versionDate = FormatVersionDate(Services::clock().now().date());
    m_wizard.setLanguage(wlAuto);
    m_checkTimer = new QTimer(this);
    m_checkTimer->setObjectName(QStringLiteral("AutoCheckTimer"));
    connect(m_checkTimer, &QTimer::timeout, this, [this] { CheckTimerTick(); });
}

TAppUpdater::~TAppUpdater()
{
    setAutoCheck(false);
    AbortTransfer();
}

void TAppUpdater::setWindows(TAppUpdaterWindows* windows)
{
    g_windows = windows;
}

TAppUpdaterWindows* TAppUpdater::windows()
{
    return g_windows;
}

void TAppUpdater::setAutoCheck(bool value)
{
    if (value == m_autoCheck)
        return;
    m_autoCheck = value;
    UpdateTimer();
}

void TAppUpdater::setRestartParams(const QString& value)
{
    m_restartParams = value.isEmpty() ? QStringLiteral(" ") : value;
}

void TAppUpdater::StartUpdateCheck()
{
    m_aborted = false;
    m_autoMode = false;
    if (IsBusy())
        return;
    m_infoPhase = true;
    m_currentURL = m_infoFileURL;
    m_currentTempFile.clear();
    setRequestURL(m_currentURL);
    setTargetFileName(QString());
    setUseCache(false);
    StartTransfer();
}

void TAppUpdater::AbortUpgrade()
{
    StopUpgrade();
    m_aborted = true;
    if (OnAborted)
        OnAborted();
}

void TAppUpdater::StopUpgrade()
{
    AbortTransfer();
    DiscardDownloads(); // download sequence: no ".uTMP" of a stopped upgrade may stay for a later helper
    if (g_windows)
        g_windows->closeWindows();
}

void TAppUpdater::Loaded(const QStringList& arguments)
{
    if (OnAfterRestart && !arguments.isEmpty() && arguments.first() == m_restartParams)
        OnAfterRestart();
}

void TAppUpdater::Loaded()
{
    Loaded(QCoreApplication::arguments().mid(1));
}

bool TAppUpdater::IsInternetConnected() const
{
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& candidate : interfaces) {
        const auto flags = candidate.flags();
        if (flags.testFlag(QNetworkInterface::IsLoopBack) || !flags.testFlag(QNetworkInterface::IsUp))
            continue;
        for (const QNetworkAddressEntry& entry : candidate.addressEntries())
            if (!entry.ip().isNull() && !entry.ip().isLoopback())
                return true;
    }
    return false;
}

QString TAppUpdater::GetInfoValue(const QByteArray& infoText, const QString& name, bool braced)
{
    QByteArray marker = '#' + name.toLatin1().toLower() + '=';
    if (braced)
        marker += '{';
    const qsizetype at = asciiLower(infoText).indexOf(marker);
    if (at < 0)
        return QString();
    const QByteArray rest = infoText.mid(at + marker.size());
    qsizetype end = 0;
    if (braced) {
        end = rest.indexOf('}');
    } else {
        end = 0;
        while (end < rest.size() && quint8(rest.at(end)) >= 32)
            ++end;
    }
    return decodeInfoText(end < 0 ? rest : rest.left(end));
}

QStringList TAppUpdater::ReadDownloadList(const QByteArray& infoText)
{
    QStringList list;
    for (const QString& key : { QStringLiteral("url"), QStringLiteral("url0") }) {
        const QString value = GetInfoValue(infoText, key);
        if (!value.isEmpty())
            list << value;
    }
    for (int n = int(list.size()) + 1;; ++n) {
        const QString value = GetInfoValue(infoText, QStringLiteral("url%1").arg(n));
        if (value.isEmpty())
            break;
        list << value;
    }
    return list;
}

bool TAppUpdater::IsUpdateNewer(const QByteArray& infoText) const
{
    if (m_versionControl == byNumber)
        return CompareVersions(GetInfoValue(infoText, QStringLiteral("version")), m_versionNumber) > 0;
    return ParseVersionDate(GetInfoValue(infoText, QStringLiteral("date"))) > ParseVersionDate(m_versionDate);
}

void TAppUpdater::ParseInfoFile(const QByteArray& infoText)
{
    m_downloadList = ReadDownloadList(infoText);
    if (!IsUpdateNewer(infoText) || m_downloadList.isEmpty()) {
        if (OnNoUpdateAvailable)
            OnNoUpdateAvailable();
        if (!m_autoMode && m_showMessages.contains(mNoUpdateAvailable))
            ShowUpgradeError(LoadMessage(24));
        return;
    }

    bool canUpgrade = true;
    const QString message = GetInfoValue(infoText, QStringLiteral("message"), true);
    const QString method = GetInfoValue(infoText, QStringLiteral("method"));
    m_infoUpgradeMethod = 0;
    if (method.startsWith(QLatin1Char('1')))
        m_infoUpgradeMethod = 1;
    else if (method.startsWith(QLatin1Char('2')))
        m_infoUpgradeMethod = 2;

    if (OnBeginUpgrade)
        OnBeginUpgrade(message, TUpgradeMethod(m_infoUpgradeMethod), m_downloadList, canUpgrade);
    if (!canUpgrade
        || (m_showMessages.contains(mAskUpgrade) && !(g_windows && g_windows->askUpgrade(*this, message)))) {
        if (OnLaterUpgrade)
            OnLaterUpgrade();
        return;
    }
    if (m_aborted)
        return; // the question window was closed by an abort
    if (m_infoUpgradeMethod == umRedirectToURL) {
        OpenWebPage(m_downloadList.first());
        return;
    }
    DownloadUpdates();
}

void TAppUpdater::StatusErrorHook(int statusCode)
{
    if (!m_infoPhase) {
        FileStatusError(statusCode);
        return;
    }
    if (OnNoInfoFile)
        OnNoInfoFile();
    if (m_showMessages.contains(mNoInfoFile))
        ShowUpgradeError(LoadMessage(25));
}

void TAppUpdater::ServerUnreachableHook()
{
    const QString host = hostOf(m_currentURL);
    if (OnHostUnreachable)
        OnHostUnreachable(m_currentURL, host);
    if (m_autoMode) {
        m_autoCheckSuspended = false;
        UpdateTimer();
    } else if (m_showMessages.contains(mHostUnreachable)) {
        ShowUpgradeError(UpdateMessages::Format(LoadMessage(26), { QStringLiteral("http://") + host }));
    }
    StopUpgrade();
}

void TAppUpdater::ConnectionLostHook()
{
    if (OnConnLost)
        OnConnLost();
    if (m_showMessages.contains(mConnLost))
        ShowUpgradeError(LoadMessage(30));
    StopUpgrade();
}

void TAppUpdater::AuthenticationHook(const QString& realm, bool& tryAgain)
{
    tryAgain = false;
    if (OnPasswordRequest)
        OnPasswordRequest(realm, tryAgain);
    if (tryAgain || !m_showMessages.contains(mPasswordRequest))
        return;
    if (g_windows && g_windows->requestPassword(*this, realm))
        tryAgain = true;
    else
        AbortUpgrade();
}

void TAppUpdater::UpdateTimer()
{
    m_checkTimer->stop();
    if (m_autoCheck && !m_autoCheckSuspended)
        m_checkTimer->start(AutoCheckIntervalMs);
}

void TAppUpdater::CheckTimerTick()
{
    if (!IsInternetConnected() || !m_autoCheck)
        return;
    m_autoCheckSuspended = true;
    UpdateTimer();
    StartUpdateCheck();
    m_autoMode = true;
}

void ConfigureProgramUpdater(TAppUpdater& updater)
{
    const QString override = qEnvironmentVariable("VANTREL_UPDATE_URL");
    updater.setInfoFileURL(override.isEmpty() ? QStringLiteral("http://") + QLatin1String(UpdateConstants::UpdateHost)
                                   + QStringLiteral("/update/helper/helper.inf")
                                              : override);
    updater.setVersionControl(byNumber);
    updater.setVersionNumber(QStringLiteral("2.3"));
    updater.setVersionDate(QStringLiteral("08/18/2004"));
    updater.setVersionDateAutoSet(true);
    updater.setShowMessages(TAppUpdaterShowMessagesSet::all());
    updater.InfoFile().UpgradeMsg = QStringLiteral("first release");
}
