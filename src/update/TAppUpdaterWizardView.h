#pragma once

#include <QString>

class TAppUpdater;

/// The progress wizard as the download sequence drives it. The window lives in the GUI library, which installs
/// its implementation once per process; without one the downloads run without a wizard.
class TAppUpdaterWizardView
{
public:
    virtual ~TAppUpdaterWizardView() = default;

    static void install(TAppUpdaterWizardView* view);
    static TAppUpdaterWizardView* installed();

    /// Creates the wizard when it does not exist, fills in its texts and shows it without making it modal.
    virtual void showWizard(TAppUpdater& updater) = 0;
    virtual bool wizardExists() const = 0;
    /// The address being fetched and the file-count line.
    virtual void setWizardFile(const QString& url, const QString& countLine) = 0;
    virtual void setWizardSize(const QString& sizeLine) = 0;
    virtual void setWizardProgress(int currentPercent, int allPercent, const QString& rateLine, const QString& timeLine)
        = 0;
    /// Switches the wizard to its finished state and waits, with the message loop running, until it is gone.
    virtual void finishWizardAndWait() = 0;
};
