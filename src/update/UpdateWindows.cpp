#include "UpdateWindows.h"

#include "TAppUpdaterPasswordForm.h"
#include "TAppUpdaterQuestionForm.h"
#include "TAppUpdaterWizardForm.h"

#include <QEventLoop>
#include <QPointer>

void UpdateWindows::installOnce()
{
    static UpdateWindows windows;
    if (TAppUpdater::windows() != &windows)
        TAppUpdater::setWindows(&windows);
    if (TAppUpdaterWizardView::installed() != &windows)
        TAppUpdaterWizardView::install(&windows);
}

bool UpdateWindows::askUpgrade(TAppUpdater&, const QString& message)
{
    return TAppUpdaterQuestionForm::Ask(message);
}

bool UpdateWindows::requestPassword(TAppUpdater& updater, const QString&)
{
    return TAppUpdaterPasswordForm::Ask(updater);
}

void UpdateWindows::closeWindows()
{
    if (TAppUpdaterQuestionForm* question = TAppUpdaterQuestionForm::instance())
        question->reject();
    if (TAppUpdaterWizardForm* wizard = TAppUpdaterWizardForm::instance())
        wizard->CloseWithoutQuestion();
}

void UpdateWindows::showWizard(TAppUpdater& updater)
{
    TAppUpdaterWizardForm::ShowFor(updater);
}

bool UpdateWindows::wizardExists() const
{
    return TAppUpdaterWizardForm::instance() != nullptr;
}

void UpdateWindows::setWizardFile(const QString& url, const QString& countLine)
{
    if (TAppUpdaterWizardForm* wizard = TAppUpdaterWizardForm::instance())
        wizard->SetFile(url, countLine);
}

void UpdateWindows::setWizardSize(const QString& sizeLine)
{
    if (TAppUpdaterWizardForm* wizard = TAppUpdaterWizardForm::instance())
        wizard->SetSize(sizeLine);
}

void UpdateWindows::setWizardProgress(int currentPercent, int allPercent, const QString& rateLine,
                                      const QString& timeLine)
{
    if (TAppUpdaterWizardForm* wizard = TAppUpdaterWizardForm::instance())
        wizard->SetProgress(currentPercent, allPercent, rateLine, timeLine);
}

void UpdateWindows::finishWizardAndWait()
{
    QPointer<TAppUpdaterWizardForm> wizard = TAppUpdaterWizardForm::instance();
    if (!wizard)
        return;
    wizard->SetFinished();
    // The program's message loop keeps running meanwhile, so the wizard's buttons (and every timer) work.
    QEventLoop loop;
    QObject::connect(wizard, &TAppUpdaterWizardForm::closed, &loop, &QEventLoop::quit);
    QObject::connect(wizard, &QObject::destroyed, &loop, &QEventLoop::quit);
    wizard->activateWindow();
    if (TAppUpdaterWizardForm::instance())
        loop.exec();
}
