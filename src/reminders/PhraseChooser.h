#pragma once

#include <QDialog>
#include <QListWidget>

class GbkTextEdit;

/// The body both phrase choosers share: a list of the phrase file's lines; a double click anywhere in it puts the
/// selected phrase (or nothing) into the target editor's text box as its only line and closes the chooser.
class PhraseChooser : public QDialog
{
    Q_OBJECT
protected:
    /// target is the text box of the editor this chooser fills (its Memo1).
    PhraseChooser(GbkTextEdit& target, const QString& listName, QWidget* parent);

    /// Fills the list from the phrase file; a missing file leaves the list as it was.
    void loadPhrases();
    /// Replaces the target's text by the selected phrase and a line break.
    void takePhrase();

    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    virtual void onShow() = 0;
    virtual void onDoubleClick() = 0;

    QListWidget* m_list = nullptr;

private:
    GbkTextEdit& m_target;
};
