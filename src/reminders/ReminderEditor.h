#pragma once

#include "platform/Dialogs.h"
#include "reminders/ReminderTable.h"
#include "widgets/CentredDialog.h"

class GbkTextEdit;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimeEdit;
class QToolButton;
class SoundPlayer;
class TableQuery;

/// What the add and the modify window have in common: the same controls in the same places, the same sound
/// preview on the shared reminder player, the same save rules, the phrase chooser behind ">>>", and the reload of
/// the list window when they close. Each close (OK, cancel, close box, Esc) runs FormClose.
class ReminderEditor : public CentredDialog
{
    Q_OBJECT
public:
    ~ReminderEditor() override;

    /// The phrase chooser this window opens; start-up hands it over once it exists.
    struct Opens
    {
        QDialog* phrases = nullptr;
    };
    void setOpens(const Opens& windows) { m_opens = windows; }

    QDateEdit* DateTimePicker1 = nullptr;
    QTimeEdit* DateTimePicker2 = nullptr;
    QPushButton* Button1 = nullptr; ///< "<—现在时间"
    QComboBox* ComboBox1 = nullptr; ///< frequency
    QCheckBox* CheckBox1 = nullptr; ///< "提醒声音"
    QComboBox* ComboBox2 = nullptr; ///< sound
    QToolButton* SpeedButton4 = nullptr; ///< play
    QToolButton* SpeedButton3 = nullptr; ///< stop
    QToolButton* SpeedButton5 = nullptr; ///< "..." sound file
    QCheckBox* CheckBox2 = nullptr; ///< "提醒窗口自动关闭"
    QLineEdit* Edit1 = nullptr; ///< seconds
    GbkTextEdit* Memo1 = nullptr; ///< reminder text, at most 50 GBK bytes
    QToolButton* SpeedButton2 = nullptr; ///< ">>>" phrase chooser
    QLineEdit* Edit2 = nullptr; ///< program
    QToolButton* SpeedButton1 = nullptr; ///< "..." program file
    QCheckBox* CheckBox3 = nullptr; ///< "提醒生效"
    QPushButton* BitBtn1 = nullptr; ///< "确定"
    QPushButton* BitBtn2 = nullptr; ///< "取消"

    FileDialogOptions OpenDialog1; ///< the sound file
    FileDialogOptions OpenDialog2; ///< the program file

    /// The file typed text in the sound box previews: a catalogue name's file, a full path as it stands (the engine
    /// plays it so), and anything else as a tune of the sound folder, as a picked name would be.
    static QString typedPreviewFile(const QString& text);

public slots:
    void FormShow() override = 0;
    void FormClose() override;
    void Button1Click();
    void CheckBox1Click();
    void CheckBox2Click();
    /// Text typed in the sound box; a picked list item opens its file at once instead.
    void ComboBox2Change();
    void SpeedButton5Click();
    void SpeedButton4Click();
    void SpeedButton3Click();
    void SpeedButton2Click();
    void SpeedButton1Click();
    virtual void BitBtn1Click() = 0;
    void BitBtn2Click();

protected:
    /// player is the shared reminder player (the add window's MediaPlayer1); listRows and changes are the list
    /// window's Query1 (reloaded on every close) and Query2 (the one this window saves through).
    ReminderEditor(SoundPlayer& player, TableQuery& listRows, TableQuery& changes, QWidget* parent);

    SoundPlayer& player() { return m_player; }
    TableQuery& listRows() { return m_listRows; }

    /// Refuses an empty reminder text with the warning box; true when refused.
    bool refuseEmptyText();
    /// Saves the values through the list window's Query2 with the statement's lines, and closes the window.
    /// An empty text is refused instead.
    void save(const QStringList& statement);
    /// The values the controls stand for, as statements 3 and 4 take them (no key).
    Reminder values() const;
    /// Opens a preview file on the player at once, and shows the play button.
    void openPreview(const QString& fileName);
    void showPlayButton();
    /// Leaves the player with no file, so play does nothing.
    void clearPreview();

    QLabel* m_labelFrequency = nullptr;
    QLabel* m_labelShow = nullptr;
    QLabel* m_labelSeconds = nullptr;
    QLabel* m_labelText = nullptr;
    QLabel* m_labelLimit = nullptr;
    QLabel* m_labelProgram = nullptr;

private:
    void onSoundTyped(const QString& text);

    SoundPlayer& m_player;
    TableQuery& m_listRows;
    TableQuery& m_changes;
    Opens m_opens;
    void onSoundPicked(const QString& text);

    /// The preview file was set but not opened yet (typed text that named no file): play opens it, so a wrong
    /// name shows its error when the user asks to hear it, not at each keystroke.
    bool m_openPending = false;
};
