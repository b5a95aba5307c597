#pragma once

#include "UpdateAskForm.h"

/// The question whether to update to a newer version. One instance per process at most, created on first use; it
/// frees itself when closed.
class TAppUpdaterQuestionForm : public UpdateAskForm
{
    Q_OBJECT
public:
    explicit TAppUpdaterQuestionForm(QWidget* parent = nullptr);

    /// The open instance, or nullptr.
    static TAppUpdaterQuestionForm* instance() { return openForm<TAppUpdaterQuestionForm>(); }
    /// Asks with the release message; true exactly when answered Yes. Any other way of closing means "Later".
    static bool Ask(const QString& message);
    /// The application's title, or string 40997 when the title holds the marker word 40998.
    static QString UsableAppTitle();

    QLabel* Icon = nullptr;
    QPushButton* YesBtn = nullptr;
    QPushButton* LaterBtn = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};
