#include "TFrmAlarminf.h"

#include "platform/AppPaths.h"
#include "platform/Clock.h"
#include "platform/Services.h"
#include "reminders/SoundCatalogue.h"
#include "storage/TableQuery.h"
#include "widgets/GbkTextEdit.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTimeEdit>

TFrmAlarminf::TFrmAlarminf(SoundPlayer& player, TableQuery& listRows, TableQuery& changes, QWidget* parent)
    : ReminderEditor(player, listRows, changes, parent)
{
    MediaPlayer1 = &player;
    setObjectName(QStringLiteral("FrmAlarminf"));
    setWindowTitle(QStringLiteral("添加提醒信息"));
    setFixedSize(337, 324);
}

void TFrmAlarminf::FormShow()
{
    const QDateTime now = Services::clock().now();
    DateTimePicker1->setDate(now.date());
    DateTimePicker2->setTime(now.time());
    ComboBox1->setEditText(ComboBox1->itemText(0));
    ComboBox2->setEditText(ComboBox2->itemText(0));
    Memo1->clear();
    Edit2->clear();
    showPlayButton();
    Edit1->setText(QStringLiteral("6"));
    // Opened last: a missing sound file shows its error but leaves the window fully reset.
    openPreview(SoundCatalogue::resolve(ComboBox2->itemText(0)));
}

void TFrmAlarminf::BitBtn1Click()
{
    save({ ReminderTable::insert(AppPaths::reminderTablePath()) });
}
