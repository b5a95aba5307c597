#pragma once

#include "UpdateAskForm.h"

#include <QPointer>

class QLineEdit;
class TAppUpdater;

/// Asks for the user name and password a server demands. One instance per process at most, created on first use;
/// it frees itself when closed.
class TAppUpdaterPasswordForm : public UpdateAskForm
{
    Q_OBJECT
public:
    explicit TAppUpdaterPasswordForm(QWidget* parent = nullptr);

    static TAppUpdaterPasswordForm* instance() { return openForm<TAppUpdaterPasswordForm>(); }
    /// Shows the window for the updater's current address; true exactly when confirmed with OK, in which case the
    /// typed credentials are stored in the updater.
    static bool Ask(TAppUpdater& updater);

    QLabel* Image1 = nullptr;
    QLabel* UsernameLab = nullptr;
    QLineEdit* UsernameEdit = nullptr;
    QLabel* PasswordLab = nullptr;
    QLineEdit* PasswordEdit = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

public slots:
    void OKBtnClick();

private:
    QPointer<TAppUpdater> m_updater;
};
