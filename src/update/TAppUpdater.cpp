#include "TAppUpdater.h"

#include "UpdateConstants.h"
#include "UpdateSignature.h"
#include "VersionRules.h"
#include "platform/Clock.h"
#include "platform/Services.h"
#include "platform/WebPage.h"

#include <QCoreApplication>
#include <QHash>
#include <QIODevice>
#include <QNetworkInterface>
#include <QStringDecoder>
#include <QTimer>
#include <QUrl>

#include "text/Gbk.h"

#ifndef VANTREL_UPDATE_PUBLIC_KEY
#define VANTREL_UPDATE_PUBLIC_KEY ""
#endif

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

bool isKeyChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

/// The first position after each "#<key>=" marker of a lower-case text, found in one pass.
QHash<QByteArray, qsizetype> markerPositions(const QByteArray& lower)
{
    QHash<QByteArray, qsizetype> positions;
    for (qsizetype at = lower.indexOf('#'); at >= 0; at = lower.indexOf('#', at + 1)) {
        qsizetype end = at + 1;
        while (end < lower.size() && isKeyChar(lower.at(end)))
            ++end;
        if (end > at + 1 && end < lower.size() && lower.at(end) == '=') {
            const QByteArray key = lower.mid(at + 1, end - at - 1);
            if (!positions.contains(key)) // only the first occurrence counts
                positions.insert(key, end + 1);
        }
    }
    return positions;
}

/// A single-line value starting at `from`: up to the first character below 32.
QByteArray lineValueAt(const QByteArray& text, qsizetype from)
{
    qsizetype end = from;
    while (end < text.size() && quint8(text.at(end)) >= 32)
        ++end;
    return text.mid(from, end - from);
}

qint64 parseSize(const QString& text)
{
    if (text.isEmpty() || text.size() > 18)
        return -1;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
    return text.toLongLong();
}

QByteArray parseSha256(const QString& text)
{
    if (text.size() != 64)
        return {};
    for (QChar c : text)
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
              || (c >= QLatin1Char('A') && c <= QLatin1Char('F'))))
            return {};
    return text.toLower().toLatin1();
}

bool isLocalAddress(const QString& address)
{
    return address.trimmed().startsWith(QLatin1String("file:"), Qt::CaseInsensitive);
}

void showRefusal(int k, const QVariantList& args = {})
{
    ShowUpgradeError(UpdateMessages::Format(LoadMessage(k), args));
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
        = [this](const QString&, const QString&, const QString&, const QString&, const QString&, qint64 contentLength,
                 const QDateTime&, const QDateTime& lastModified, const QDateTime&, bool& continueTransfer) {
              if (!m_infoPhase)
                  FileHeadersReceived(contentLength, lastModified, continueTransfer);
          };
    OnDownloadProgress = [this](const QString&, qint64 fileSize, qint64 bytesRead, int elapsedTime,
                                int estimatedTimeLeft, quint8 percentsDone, float transferRate, QIODevice*) {
        if (!m_infoPhase)
            FileProgress(fileSize, bytesRead, elapsedTime, estimatedTimeLeft, percentsDone, transferRate);
    };
    OnTransferDone = [this](const QString&, QIODevice* body, qint64) {
        if (!m_infoPhase) {
            FileDone();
        } else if (!m_signaturePhase) {
            // Nothing of the information file is read before its signature has been checked.
            m_infoText = body ? body->readAll() : QByteArray();
            m_signaturePhase = true;
            m_currentURL = m_infoFileURL + QStringLiteral(".minisig");
            setRequestURL(m_currentURL);
            setMaxBodySize(SignatureFileLimit);
            StartTransfer();
        } else {
            VerifyInfoFile(body ? body->readAll() : QByteArray());
        }
    };
    OnTransferSkipped = [this] {
        if (!m_infoPhase)
            FileSkipped();
    };
    OnConnectionLost = [this](const QString&, QIODevice*, qint64, qint64) { ConnectionLostHook(); };
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
    if (!UpdateSignature::ParsePublicKey(m_updatePublicKey)) {
        showRefusal(UpdateMessages::MsgNoPublicKey);
        return;
    }
    m_infoPhase = true;
    m_signaturePhase = false;
    m_infoText.clear();
    m_currentURL = m_infoFileURL;
    m_currentTempFile.clear();
    setRequestURL(m_currentURL);
    setTargetFileName(QString());
    setUseCache(false);
    setMaxBodySize(InfoFileLimit);
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

QList<TDownloadEntry> TAppUpdater::ReadDownloadEntries(const QByteArray& infoText)
{
    const QHash<QByteArray, qsizetype> markers = markerPositions(asciiLower(infoText));
    const auto value = [&](const QByteArray& key) {
        const qsizetype at = markers.value(key, -1);
        return at < 0 ? QString() : decodeInfoText(lineValueAt(infoText, at));
    };
    QList<TDownloadEntry> list;
    const auto append = [&](const QByteArray& suffix) {
        const QString url = value("url" + suffix);
        if (url.isEmpty())
            return false;
        list.append({ url, parseSize(value("size" + suffix)), parseSha256(value("sha256" + suffix)) });
        return true;
    };
    append(QByteArray());
    append(QByteArrayLiteral("0"));
    for (qsizetype n = list.size() + 1; append(QByteArray::number(n)); ++n) { }
    return list;
}

bool TAppUpdater::IsUpdateNewer(const QByteArray& infoText) const
{
    if (m_versionControl == byNumber)
        return CompareVersions(GetInfoValue(infoText, QStringLiteral("version")), m_versionNumber) > 0;
    const QString date = GetInfoValue(infoText, QStringLiteral("date"));
    if (!IsVersionDateValid(date))
        return false;
    return ParseVersionDate(date) > ParseVersionDate(m_versionDate);
}

void TAppUpdater::VerifyInfoFile(const QByteArray& signatureFile)
{
    const QByteArray infoText = std::exchange(m_infoText, QByteArray());
    m_signaturePhase = false;
    const std::optional<UpdateSignature::PublicKey> key = UpdateSignature::ParsePublicKey(m_updatePublicKey);
    const UpdateSignature::Result result
        = key ? UpdateSignature::Verify(infoText, signatureFile, *key) : UpdateSignature::Result::WrongKey;
    switch (result) {
    case UpdateSignature::Result::Valid:
        m_currentURL = m_infoFileURL;
        ParseInfoFile(infoText);
        return;
    case UpdateSignature::Result::Malformed:
        showRefusal(UpdateMessages::MsgSignatureMalformed);
        break;
    case UpdateSignature::Result::WrongKey:
        showRefusal(UpdateMessages::MsgSignatureWrongKey);
        break;
    case UpdateSignature::Result::Invalid:
        showRefusal(UpdateMessages::MsgSignatureInvalid);
        break;
    }
    m_infoPhase = false;
}

void TAppUpdater::ParseInfoFile(const QByteArray& infoText)
{
    m_downloadEntries = ReadDownloadEntries(infoText);
    m_downloadList.clear();
    for (const TDownloadEntry& entry : std::as_const(m_downloadEntries))
        m_downloadList << entry.URL;
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

    // Every address must be one the program may fetch, and every file one it can check after the download;
    // otherwise nothing is asked and nothing is fetched.
    const bool fetchedOverNetwork = !isLocalAddress(m_infoFileURL);
    for (const TDownloadEntry& entry : std::as_const(m_downloadEntries)) {
        if (fetchedOverNetwork && isLocalAddress(entry.URL)) {
            showRefusal(UpdateMessages::MsgLocalAddress, { entry.URL });
            return;
        }
        const QString name = UpdateHandOver::LastUrlSegment(entry.URL);
        const bool nameUsable = !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..");
        if (m_infoUpgradeMethod != umRedirectToURL && (entry.Size < 0 || entry.Sha256.isEmpty() || !nameUsable)) {
            showRefusal(UpdateMessages::MsgEntryUnverified, { entry.URL });
            return;
        }
    }

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
    if (m_signaturePhase) {
        m_signaturePhase = false;
        m_infoText.clear();
        showRefusal(UpdateMessages::MsgSignatureMissing, { m_currentURL });
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
    if (BodyTooLarge()) {
        // More than the information file may hold, or more than a listed file's signed size.
        if (m_infoPhase) {
            showRefusal(UpdateMessages::MsgInfoFileTooLarge);
            StopUpgrade();
        } else {
            RejectDownload();
        }
        return;
    }
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
    const QString key = qEnvironmentVariable("VANTREL_UPDATE_PUBLIC_KEY");
    updater.setUpdatePublicKey(key.isEmpty() ? QStringLiteral(VANTREL_UPDATE_PUBLIC_KEY) : key);
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
