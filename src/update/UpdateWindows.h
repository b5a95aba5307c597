#pragma once

#include "TAppUpdater.h"
#include "TAppUpdaterWizardView.h"

/// Connects the update component to its windows: the question, the password window and the progress wizard.
class UpdateWindows : public TAppUpdaterWindows, public TAppUpdaterWizardView
{
public:
    /// Installs the windows for every update component of the process (once; later calls do nothing).
    static void installOnce();

    bool askUpgrade(TAppUpdater& updater, const QString& message) override;
    bool requestPassword(TAppUpdater& updater, const QString& realm) override;
    void closeWindows() override;

    void showWizard(TAppUpdater& updater) override;
    bool wizardExists() const override;
    void setWizardFile(const QString& url, const QString& countLine) override;
    void setWizardSize(const QString& sizeLine) override;
    void setWizardProgress(int currentPercent, int allPercent, const QString& rateLine,
                           const QString& timeLine) override;
    void finishWizardAndWait() override;
};
