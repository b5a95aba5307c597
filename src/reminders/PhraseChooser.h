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
    PhraseChooser(QWidget* parent, const QString& listName);

    /// Fills the list from the phrase file; a missing file leaves the list as it was.
    void loadPhrases();
    /// Replaces the text of `memo` by the selected phrase and a line break.
    void takePhrase(GbkTextEdit* memo);

    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    virtual void onShow() = 0;
    virtual void onDoubleClick() = 0;

    QListWidget* m_list = nullptr;
};
