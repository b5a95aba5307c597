#pragma once

#include <QDialog>
#include <QPointer>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class TAppUpdater;

/// The progress wizard shown while the files of an upgrade download. One instance per process at most; it frees
/// itself when closed. Closing it in any way but its finish button asks whether to abort the upgrade.
class TAppUpdaterWizardForm : public QDialog
{
    Q_OBJECT
public:
    explicit TAppUpdaterWizardForm(QWidget* parent = nullptr);

    /// The open instance, or nullptr (also while it is closing).
    static TAppUpdaterWizardForm* instance();
    /// Creates the wizard when needed, fills in its texts and shows it without making it modal.
    static TAppUpdaterWizardForm* ShowFor(TAppUpdater& updater);

    void SetFile(const QString& url, const QString& countLine);
    void SetSize(const QString& sizeLine);
    void SetProgress(int currentPercent, int allPercent, const QString& rateLine, const QString& timeLine);
    /// All files are downloaded: the finish button now lets the upgrade go on to the restart.
    void SetFinished();
    bool IsFinished() const { return m_finished; }
    /// Closes the window without asking (the upgrade is being stopped anyway).
    void CloseWithoutQuestion();

    QFrame* Panel1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* WizardTitle = nullptr;
    QLabel* AfterNote = nullptr;
    QGroupBox* LCurrentFile = nullptr;
    QLabel* LDownloadingFileFrom = nullptr;
    QLineEdit* FileURL = nullptr;
    QLabel* FileSizeLab = nullptr;
    QLabel* TransferRateLab = nullptr;
    QLabel* EstimatedTimeLeftLab = nullptr;
    QProgressBar* ProgressCurrentFile = nullptr;
    QGroupBox* LAllFiles = nullptr;
    QLabel* AllDownloading = nullptr;
    QProgressBar* ProgressAllFiles = nullptr;
    QFrame* Bevel1 = nullptr;
    QLabel* AboutLabel = nullptr;
    QLabel* AboutShadow = nullptr;
    QPushButton* FinishBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

signals:
    /// The window has closed (it is deleted afterwards).
    void closed();

public slots:
    void FinishBtnClick();
    void CancelBtnClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    QPointer<TAppUpdater> m_updater;
    bool m_finished = false;
    bool m_closeAllowed = false;
    bool m_closing = false;
};
