#pragma once

#include "reminders/ReminderEditor.h"

class QLineEdit;

/// "修改提醒信息": changes the reminder on the list window's current row through its Query2 (statement 4). It has
/// no player of its own: previews go to the add window's shared MediaPlayer1.
class TFrmEdit : public ReminderEditor
{
    Q_OBJECT
public:
    /// player is the add window's MediaPlayer1; listRows and changes are the list window's Query1 and Query2.
    TFrmEdit(SoundPlayer& player, TableQuery& listRows, TableQuery& changes, QWidget* parent = nullptr);

    QLineEdit* Edit3 = nullptr; ///< hidden: the row's num

public slots:
    void FormShow() override;
    void BitBtn1Click() override;
};
