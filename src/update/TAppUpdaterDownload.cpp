// The download sequence of TAppUpdater: from the user's acceptance to the hand-over to the replacement helper.
// The check flow and the component itself are in TAppUpdater.cpp.

#include "TAppUpdater.h"
#include "TAppUpdaterWizardView.h"
#include "UpdateHandOver.h"
#include "UpdateMessages.h"

#include "platform/Dialogs.h"
#include "platform/ProcessStarter.h"
#include "platform/Services.h"
#include "text/TextLines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

TAppUpdaterWizardView*& wizardView()
{
    static TAppUpdaterWizardView* view = nullptr;
    return view;
}

TAppUpdaterWizardView* existingWizard()
{
    TAppUpdaterWizardView* view = wizardView();
    return view && view->wizardExists() ? view : nullptr;
}

} // namespace

void TAppUpdaterWizardView::install(TAppUpdaterWizardView* view)
{
    wizardView() = view;
}

TAppUpdaterWizardView* TAppUpdaterWizardView::installed()
{
    return wizardView();
}

void TAppUpdater::DeleteLeftoverHelper()
{
    UpdateHandOver::RemoveLeftoverHelperFolders();
    UpdateHandOver::DeleteStaleDownloads();
}

void TAppUpdater::DownloadUpdates()
{
    m_infoPhase = false;
    m_currentIndex = 0;
    m_installList.clear();
    if (m_wizard.Enabled && wizardView())
        wizardView()->showWizard(*this);
    FetchCurrentFile();
}

void TAppUpdater::FetchCurrentFile()
{
    // Any event handler along the way may have aborted the upgrade.
    if (m_aborted)
        return;
    if (m_currentIndex >= m_downloadList.size()) {
        FinishDownloads();
        return;
    }
    const QString url = m_downloadList.at(m_currentIndex);
    if (auto* wizard = existingWizard())
        wizard->setWizardFile(
            url, UpdateMessages::Format(LoadMessage(9), { m_currentIndex + 1, int(m_downloadList.size()) }));
    m_currentURL = url;
    m_currentTempFile = UpdateHandOver::TempFileName(url);
    m_currentFileTime = QDateTime();
    setRequestURL(url);
    setTargetFileName(m_currentTempFile);
    setUseCache(true);
    // The transfer stops as soon as the file grows past its signed size.
    setMaxBodySize(m_downloadEntries.at(m_currentIndex).Size);
    StartTransfer();
}

void TAppUpdater::FileHeadersReceived(qint64 contentLength, const QDateTime& lastModified, bool& continueTransfer)
{
    m_currentFileTime = lastModified;
    if (auto* wizard = existingWizard())
        wizard->setWizardSize(UpdateMessages::Format(LoadMessage(6), { contentLength / 1024.0 }));

    // Files other than the program are fetched only when their size changed; the program itself always is.
    if (m_miscFilesUpgrade == mfuOnlyIfSizeDifferent && contentLength != 0 && m_downloadList.size() >= 2) {
        const QFileInfo local(m_currentTempFile.chopped(5));
        const QString programName = QFileInfo(UpdateHandOver::ProgramPath()).fileName();
        if (local.fileName().toUpper() != programName.toUpper() && local.isFile())
            continueTransfer = local.size() != contentLength;
    }
    if (OnFileStart)
        OnFileStart(m_currentURL, contentLength, m_currentFileTime, continueTransfer);
}

void TAppUpdater::FileProgress(qint64 fileSize, qint64 bytesRead, int elapsedTime, int estimatedTimeLeft,
                               quint8 percentsDone, float transferRate)
{
    const quint8 total = UpdateHandOver::TotalPercentsDone(m_currentIndex, int(m_downloadList.size()), percentsDone);
    if (OnProgress)
        OnProgress(m_currentURL, fileSize, bytesRead, elapsedTime, estimatedTimeLeft, percentsDone, total,
                   transferRate);
    if (auto* wizard = existingWizard()) {
        wizard->setWizardProgress(
            percentsDone, total, UpdateMessages::Format(LoadMessage(7), { double(transferRate) }),
            UpdateMessages::Format(
                LoadMessage(8), { estimatedTimeLeft / 3600, (estimatedTimeLeft / 60) % 60, estimatedTimeLeft % 60 }));
    }
}

void TAppUpdater::FileDone()
{
    const TDownloadEntry& entry = m_downloadEntries.at(m_currentIndex);
    if (QFileInfo(m_currentTempFile).size() != entry.Size
        || UpdateHandOver::FileSha256(m_currentTempFile) != entry.Sha256) {
        RejectDownload();
        return;
    }
    const QString name = UpdateHandOver::LastUrlSegment(m_currentURL);
    m_installList.removeIf([&](const UpdateHandOver::InstallEntry& e) { return e.name == name; });
    m_installList.append({ name, entry.Sha256 });

    // Linux keeps no creation time that a program could set; the access time is what the platform allows.
    // A failure here does not matter to the update.
    if (m_currentFileTime.isValid()) {
        QFile file(m_currentTempFile);
        if (file.open(QIODevice::ReadOnly))
            file.setFileTime(m_currentFileTime, QFileDevice::FileAccessTime);
    }
    if (OnFileDone)
        OnFileDone(m_currentTempFile);
    ++m_currentIndex;
    FetchCurrentFile();
}

void TAppUpdater::FileSkipped()
{
    ++m_currentIndex;
    FetchCurrentFile();
}

void TAppUpdater::FileStatusError(int statusCode)
{
    bool continueUpgrade = false;
    if (OnLostFile)
        OnLostFile(m_currentURL, statusCode, continueUpgrade);
    if (m_showMessages.contains(mLostFile)) {
        const MsgAnswer answer = Services::dialogs().messageBox(
            nullptr,
            withLineFeeds(UpdateMessages::Format(LoadMessage(28), { UpdateHandOver::LastUrlSegment(m_currentURL) })),
            LoadMessage(21) + QStringLiteral(" #") + QString::number(statusCode), MsgIcon::Warning, MsgButtons::YesNo);
        continueUpgrade = answer == MsgAnswer::Yes;
    }
    if (continueUpgrade) {
        ++m_currentIndex;
        FetchCurrentFile();
    } else {
        AbortUpgrade();
    }
}

void TAppUpdater::RejectDownload()
{
    const QString name = UpdateHandOver::LastUrlSegment(m_currentURL);
    QFile::remove(m_currentTempFile);
    AbortUpgrade();
    ShowUpgradeError(UpdateMessages::Format(LoadMessage(UpdateMessages::MsgFileMismatch), { name }));
}

void TAppUpdater::DiscardDownloads()
{
    if (m_infoPhase || m_currentTempFile.isEmpty())
        return;
    const qsizetype last = std::min<qsizetype>(m_currentIndex, m_downloadList.size() - 1);
    for (qsizetype i = 0; i <= last; ++i)
        QFile::remove(UpdateHandOver::TempFileName(m_downloadList.at(i)));
    m_currentTempFile.clear();
}

void TAppUpdater::FinishDownloads()
{
    if (auto* wizard = existingWizard()) {
        wizard->finishWizardAndWait();
        if (m_aborted)
            return;
    }
    if (OnEndUpgrade)
        OnEndUpgrade();
    if (!m_aborted)
        RunHelperAndEnd();
}

void TAppUpdater::RunHelperAndEnd()
{
    // The helper and its list go into a folder made for this upgrade alone, so nobody else can put anything in
    // their place; the helper installs exactly the files of that list, each checked again against its hash.
    const QString folder = UpdateHandOver::MakeHelperFolder();
    const QString helper = UpdateHandOver::HelperPath(folder);
    if (folder.isEmpty() || !UpdateHandOver::WriteHelper(folder)
        || !UpdateHandOver::WriteInstallList(folder, m_installList)
        || !Services::processStarter().startDetached(
            helper,
            UpdateHandOver::HelperArguments(UpdateHandOver::ProgramPath(), m_restartParams, m_infoUpgradeMethod),
            folder)) {
        DiscardDownloads();
        if (!folder.isEmpty())
            QDir(folder).removeRecursively();
        Services::reportError(QStringLiteral("无法启动升级助手: %1").arg(helper));
        return;
    }
    if (OnDoOwnCloseAppMethod)
        OnDoOwnCloseAppMethod();
    else
        QCoreApplication::exit(0);
}
