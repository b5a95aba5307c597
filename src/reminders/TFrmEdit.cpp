#include "TFrmEdit.h"

#include "platform/AppPaths.h"
#include "reminders/SoundCatalogue.h"
#include "storage/TableQuery.h"
#include "widgets/GbkTextEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTimeEdit>

TFrmEdit::TFrmEdit(SoundPlayer& player, TableQuery& listRows, TableQuery& changes, QWidget* parent)
    : ReminderEditor(player, listRows, changes, parent)
{
    setObjectName(QStringLiteral("FrmEdit"));
    setWindowTitle(QStringLiteral("修改提醒信息"));
    setFixedSize(338, 322);
    Edit3 = new QLineEdit(this);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Edit3->setAccessibleName(QStringLiteral("num"));
    Edit3->hide();
}

void TFrmEdit::FormShow()
{
    const Reminder row = ReminderTable::current(listRows());
    Edit3->setText(row.num);
    DateTimePicker1->setDate(row.hintdate);
    DateTimePicker2->setTime(row.hinttime);
    ComboBox1->setEditText(row.frequency);
    ComboBox2->setEditText(row.sound);
    CheckBox1->setChecked(!row.sound.isEmpty());
    ComboBox2->setEnabled(CheckBox1->isChecked());
    Edit1->setText(row.dispear);
    CheckBox2->setChecked(!row.dispear.isEmpty());
    Edit1->setEnabled(CheckBox2->isChecked());
    Memo1->setPlainText(row.content);
    Edit2->setText(row.program);
    // Otherwise 确定 would write whatever the box was last left at, and could switch a stopped reminder on.
    CheckBox3->setChecked(row.hint == QStringLiteral("是"));
    showPlayButton();
    // Opened last: a sound file that has gone shows its error but leaves the row fully loaded.
    const QString file = SoundCatalogue::resolve(row.sound);
    if (file.isEmpty())
        clearPreview();
    else
        openPreview(file);
}

void TFrmEdit::BitBtn1Click()
{
    save({ ReminderTable::updateLine1(AppPaths::reminderTablePath()), ReminderTable::updateLine2(Edit3->text()) });
}
