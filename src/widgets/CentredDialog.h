#pragma once

#include <QDialog>

/// A dialog window of the program: centred on the screen each time it is shown, then loaded by its show handler
/// FormShow(); however it closes (its buttons, the close box, Esc), its close handler FormClose() runs after it.
/// Both handlers run inside the error boundary, so a failed load or reload shows the error box and goes no
/// further. Restoring a minimised window is no new showing.
class CentredDialog : public QDialog
{
    Q_OBJECT
public:
    using QDialog::QDialog;

    void done(int result) override;

public slots:
    /// The window's show handler; a window that loads nothing when shown keeps this one.
    virtual void FormShow() { }
    /// The window's close handler; a window with nothing to do on closing keeps this one.
    virtual void FormClose() { }

protected:
    void showEvent(QShowEvent* event) override;
};
