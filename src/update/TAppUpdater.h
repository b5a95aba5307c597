// TAppUpdater.cpp holds the component and the check flow; TAppUpdaterDownload.cpp the download sequence and hand-over.
#pragma once

#include "HttpTransfer.h"
#include "UpdateHandOver.h"
#include "UpdateMessages.h"

#include <QDateTime>
#include <QImage>
#include <QStringList>

#include <functional>

class QTimer;
class TAppUpdater;

enum TUpgradeMethod : int { umSelfUpgrade = 0, umUseExternalSetup = 1, umRedirectToURL = 2 };
enum TMiscFilesUpgradeBehavior : int { mfuAlwaysDownload = 0, mfuOnlyIfSizeDifferent = 1 };
enum TAppUpdaterVersionControl : int { byDate = 0, byNumber = 1 };
enum TAppUpdaterShowMessages : int {
    mAskUpgrade = 0,
    mConnLost = 1,
    mHostUnreachable = 2,
    mLostFile = 3,
    mNoInfoFile = 4,
    mNoUpdateAvailable = 5,
    mPasswordRequest = 6,
};

/// A set of TAppUpdaterShowMessages: bit n for member n.
class TAppUpdaterShowMessagesSet
{
public:
    constexpr TAppUpdaterShowMessagesSet() = default;
    constexpr explicit TAppUpdaterShowMessagesSet(int mask)
        : m_mask(mask & 0x7F)
    { }
    constexpr TAppUpdaterShowMessagesSet(std::initializer_list<TAppUpdaterShowMessages> members)
    {
        for (TAppUpdaterShowMessages m : members)
            m_mask |= 1 << m;
    }
    constexpr bool contains(TAppUpdaterShowMessages m) const { return m_mask & (1 << m); }
    constexpr int mask() const { return m_mask; }
    void include(TAppUpdaterShowMessages m) { m_mask |= 1 << m; }
    void exclude(TAppUpdaterShowMessages m) { m_mask &= ~(1 << m); }
    constexpr bool operator==(const TAppUpdaterShowMessagesSet&) const = default;

    static constexpr TAppUpdaterShowMessagesSet all() { return TAppUpdaterShowMessagesSet(0x7F); }
    /// mAskUpgrade, mConnLost, mLostFile, mPasswordRequest: the mask 75.
    static constexpr TAppUpdaterShowMessagesSet defaults()
    {
        return TAppUpdaterShowMessagesSet{ mAskUpgrade, mConnLost, mLostFile, mPasswordRequest };
    }

private:
    int m_mask = 0;
};

/// The description from which the developer writes the information file; the update flow never reads it.
struct TAppUpdaterInfo
{
    QStringList Files;
    TUpgradeMethod UpgradeMethod = umSelfUpgrade;
    QString UpgradeMsg;
};

/// Settings of the progress wizard.
class TAppUpdaterWizard
{
public:
    bool Enabled = true;
    QImage Pic118x218; ///< replaces the wizard's side picture when not null
    bool StayOnTop = true;

    TAppUpdaterLanguage Language() const { return m_language; }
    /// Selects the message catalogue at once (one choice for the whole process).
    void setLanguage(TAppUpdaterLanguage value);

private:
    TAppUpdaterLanguage m_language = wlAuto;
};

/// One file of the download list as the signed information file describes it.
struct TDownloadEntry
{
    QString URL;
    qint64 Size = -1; ///< -1 when the file gives no valid size
    QByteArray Sha256; ///< 64 lower-case hexadecimal digits; empty when the file gives no valid hash
};

/// The component's windows live in the GUI library; the component reaches them through this seam, installed
/// once per process (the windows are one instance each per process). Without it nothing is shown: the question
/// counts as "Later" and the password request as cancelled.
class TAppUpdaterWindows
{
public:
    virtual ~TAppUpdaterWindows() = default;
    /// The question window with the release note; true when answered Yes.
    virtual bool askUpgrade(TAppUpdater& updater, const QString& message) = 0;
    /// The password window; true when confirmed (it has stored the typed credentials in the updater).
    virtual bool requestPassword(TAppUpdater& updater, const QString& realm) = 0;
    /// Destroys the question and the wizard windows when they exist.
    virtual void closeWindows() = 0;
};

/// The update component: fetches the information file, decides whether a newer version exists, asks, and hands
/// over to the downloads (or opens a web page).
class TAppUpdater : public THttpTransfer
{
    Q_OBJECT
public:
    explicit TAppUpdater(QObject* parent = nullptr);
    ~TAppUpdater() override;

    static void setWindows(TAppUpdaterWindows* windows);
    static TAppUpdaterWindows* windows();

    // Published properties.
    bool AutoCheck() const { return m_autoCheck; }
    /// Re-arms or stops the check timer when the value changes.
    void setAutoCheck(bool value);
    TAppUpdaterInfo& InfoFile() { return m_infoFile; }
    QString InfoFileURL() const { return m_infoFileURL; }
    void setInfoFileURL(const QString& value) { m_infoFileURL = value; }
    QString RestartParams() const { return m_restartParams; }
    /// An empty value is stored as a single blank.
    void setRestartParams(const QString& value);
    TMiscFilesUpgradeBehavior MiscFilesUpgrade() const { return m_miscFilesUpgrade; }
    void setMiscFilesUpgrade(TMiscFilesUpgradeBehavior value) { m_miscFilesUpgrade = value; }
    TAppUpdaterVersionControl VersionControl() const { return m_versionControl; }
    void setVersionControl(TAppUpdaterVersionControl value) { m_versionControl = value; }
    QString VersionDate() const { return m_versionDate; }
    void setVersionDate(const QString& value) { m_versionDate = value; }
    bool VersionDateAutoSet() const { return m_versionDateAutoSet; }
    /// Only sets VersionDate while designing; no effect in the running program.
    void setVersionDateAutoSet(bool value) { m_versionDateAutoSet = value; }
    QString VersionNumber() const { return m_versionNumber; }
    void setVersionNumber(const QString& value) { m_versionNumber = value; }
    TAppUpdaterShowMessagesSet ShowMessages() const { return m_showMessages; }
    void setShowMessages(TAppUpdaterShowMessagesSet value) { m_showMessages = value; }
    TAppUpdaterWizard& Wizard() { return m_wizard; }
    /// The minisign public key ("RW..." or a whole ".pub" file) that information files must be signed with.
    /// Without a valid key every update is refused.
    QString UpdatePublicKey() const { return m_updatePublicKey; }
    void setUpdatePublicKey(const QString& value) { m_updatePublicKey = value; }

    // Events; each fires on the main thread, and only when assigned.
    std::function<void(const QString& UpgradeMsg, TUpgradeMethod UpgradeMethod, const QStringList& Files,
                       bool& CanUpgrade)>
        OnBeginUpgrade;
    std::function<void()> OnEndUpgrade;
    std::function<void()> OnLaterUpgrade;
    std::function<void(const QString& FileURL, qint64 FileSize, qint64 BytesRead, qint32 ElapsedTime,
                       qint32 EstimatedTimeLeft, quint8 PercentsDone, quint8 TotalPercentsDone, float TransferRate)>
        OnProgress;
    std::function<void(const QString& FileURL, qint64 FileSize, const QDateTime& FileTime, bool& CanUpgrade)>
        OnFileStart;
    std::function<void(const QString& FileName)> OnFileDone;
    std::function<void()> OnDoOwnCloseAppMethod;
    std::function<void()> OnAfterRestart;
    std::function<void()> OnAborted;
    std::function<void()> OnConnLost;
    std::function<void(const QString& URL, const QString& Hostname)> OnHostUnreachable;
    std::function<void()> OnNoUpdateAvailable;
    std::function<void()> OnNoInfoFile;
    std::function<void(const QString& FileURL, int ErrorCode, bool& ContinueUpgrade)> OnLostFile;
    std::function<void(const QString& Realm, bool& TryAgain)> OnPasswordRequest;

    /// Starts a check; does nothing while a transfer of this component is under way.
    void StartUpdateCheck();
    /// Stops the transfer under way, closes the question and wizard windows, sets Aborted, fires OnAborted.
    void AbortUpgrade();
    /// The step after the properties have been loaded: fires OnAfterRestart when the program's first argument
    /// equals RestartParams exactly. The owner calls it once its events are assigned.
    void Loaded(const QStringList& arguments);
    /// Loaded() with the program's own arguments (without the program name).
    void Loaded();

    /// Whether the computer is on line: a network interface other than loopback is up and has an address.
    virtual bool IsInternetConnected() const;

    // Information-file rules.
    static QString GetInfoValue(const QByteArray& infoText, const QString& name, bool braced = false);
    /// The download list of an information file: url, url0, then url<n+1>, url<n+2>... up to the first empty one,
    /// with each file's size and SHA-256, keyed like its address: size/sha256 for url, size0/sha2560 for url0,
    /// size<n>/sha256<n> for url<n>. Reads the text once, however long the list.
    static QList<TDownloadEntry> ReadDownloadEntries(const QByteArray& infoText);
    /// Newer by the rule of VersionControl. Under byDate a date that can't be read is never newer: an old
    /// information file with a damaged date must not pass for a new one.
    bool IsUpdateNewer(const QByteArray& infoText) const;

    /// The most an information file may hold, and its signature file.
    static constexpr qint64 InfoFileLimit = 1024 * 1024;
    static constexpr qint64 SignatureFileLimit = 64 * 1024;

    // Run-time state.
    const QStringList& DownloadList() const { return m_downloadList; }
    int CurrentIndex() const { return m_currentIndex; }
    QString CurrentURL() const { return m_currentURL; }
    QString CurrentTempFile() const { return m_currentTempFile; }
    QDateTime CurrentFileTime() const { return m_currentFileTime; }
    quint8 InfoUpgradeMethod() const { return m_infoUpgradeMethod; }
    bool InfoPhase() const { return m_infoPhase; }
    bool Aborted() const { return m_aborted; }
    bool AutoMode() const { return m_autoMode; }
    bool AutoCheckSuspended() const { return m_autoCheckSuspended; }
    /// The period of the automatic check while off line.
    static constexpr int AutoCheckIntervalMs = 10000;

protected:
    /// Runs when the information file and its signature have arrived: checks the signature, then reads the file.
    void VerifyInfoFile(const QByteArray& signatureFile);
    /// Runs when the information file has been verified.
    void ParseInfoFile(const QByteArray& infoText);
    /// Stops the transfer under way and destroys the question and wizard windows. No event.
    void StopUpgrade();
    /// Re-evaluates the check timer.
    void UpdateTimer();
    /// The check timer's tick.
    void CheckTimerTick();

    // The download sequence (TAppUpdaterDownload.cpp).
    /// Removes what earlier updates left: helper folders and ".uTMP" files; run by the constructor.
    static void DeleteLeftoverHelper();
    /// Begins the downloads of DownloadList once the user accepted.
    void DownloadUpdates();
    /// The hooks while a program file is fetched; called by the shared hooks while InfoPhase is clear.
    void FileHeadersReceived(qint64 contentLength, const QDateTime& lastModified, bool& continueTransfer);
    void FileProgress(qint64 fileSize, qint64 bytesRead, int elapsedTime, int estimatedTimeLeft, quint8 percentsDone,
                      float transferRate);
    /// A downloaded file that is not what the signed information file describes: it is deleted, the upgrade is
    /// aborted, and nothing of it is installed.
    void RejectDownload();
    void FileDone();
    void FileSkipped();
    void FileStatusError(int statusCode);
    // Steps of the download sequence (TAppUpdaterDownload.cpp): fetch the file at CurrentIndex, finish after the
    // last one, and hand over to the replacement helper.
    void FetchCurrentFile();
    void FinishDownloads();
    void RunHelperAndEnd();
    /// Deletes the ".uTMP" files of the download sequence under way, so that an aborted or failed upgrade leaves
    /// nothing a later helper would install. StopUpgrade (and so AbortUpgrade) runs it.
    void DiscardDownloads();

    // State shared with the download sequence.
    QStringList m_downloadList;
    QList<TDownloadEntry> m_downloadEntries; ///< parallel to m_downloadList
    QList<UpdateHandOver::InstallEntry> m_installList; ///< the files downloaded and verified so far
    int m_currentIndex = 0;
    QString m_currentURL;
    QString m_currentTempFile;
    QDateTime m_currentFileTime;
    quint8 m_infoUpgradeMethod = 0;
    bool m_infoPhase = false;
    bool m_signaturePhase = false; ///< within InfoPhase: the signature file is being fetched
    QByteArray m_infoText; ///< the information file, kept while its signature is fetched
    bool m_aborted = false;
    bool m_autoMode = false;
    bool m_autoCheckSuspended = false;

private:
    void ServerUnreachableHook();
    void ConnectionLostHook();
    void StatusErrorHook(int statusCode);
    void AuthenticationHook(const QString& realm, bool& tryAgain);

    bool m_autoCheck = false;
    TAppUpdaterInfo m_infoFile;
    QString m_infoFileURL = QStringLiteral("http://");
    QString m_restartParams = QStringLiteral("/afterupgrade");
    TMiscFilesUpgradeBehavior m_miscFilesUpgrade = mfuAlwaysDownload;
    TAppUpdaterVersionControl m_versionControl = byDate;
    QString m_versionDate;
    bool m_versionDateAutoSet = true;
    QString m_versionNumber;
    TAppUpdaterShowMessagesSet m_showMessages = TAppUpdaterShowMessagesSet::defaults();
    TAppUpdaterWizard m_wizard;
    QString m_updatePublicKey;
    QTimer* m_checkTimer = nullptr;
};

/// The settings of the program's own update component: its information file on the update host (or the address
/// in VANTREL_UPDATE_URL), the public key built in (or the one in VANTREL_UPDATE_PUBLIC_KEY), version 2.3 of
/// 08/18/2004 compared by number, and every message shown.
void ConfigureProgramUpdater(TAppUpdater& updater);
