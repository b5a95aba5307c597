#include "ReminderEditor.h"

#include "platform/AppPaths.h"
#include "platform/Clock.h"
#include "platform/Guarded.h"
#include "platform/Services.h"
#include "platform/SoundPlayer.h"
#include "reminders/SoundCatalogue.h"
#include "storage/TableQuery.h"
#include "text/DateFormats.h"
#include "widgets/GbkTextEdit.h"
#include "widgets/Images.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

template <typename W> W* named(W* widget, const QString& objectName, const QString& accessibleName)
{
    widget->setObjectName(objectName);
    widget->setAccessibleName(accessibleName);
    return widget;
}

QToolButton* flatButton(QWidget* parent, const QString& objectName, const QString& text, const QString& accessible)
{
    auto* button = named(new QToolButton(parent), objectName, accessible);
    button->setAutoRaise(true);
    if (!text.isEmpty())
        button->setText(text);
    return button;
}

QLabel* label(QWidget* parent, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setAccessibleName(text);
    return l;
}

QCheckBox* checkBox(QWidget* parent, const QString& objectName, const QString& text)
{
    auto* box = named(new QCheckBox(text, parent), objectName, text);
    box->setChecked(true);
    return box;
}

} // namespace

ReminderEditor::ReminderEditor(SoundPlayer& player, TableQuery& listRows, TableQuery& changes, QWidget* parent)
    : CentredDialog(parent)
    , m_player(player)
    , m_listRows(listRows)
    , m_changes(changes)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QFont f(QStringLiteral("宋体"));
    f.setPixelSize(12);
    setFont(f);

    auto* timeGroup = new QGroupBox(QStringLiteral("提醒时间"), this);
    timeGroup->setAccessibleName(timeGroup->title());
    DateTimePicker1 = named(new QDateEdit(timeGroup), QStringLiteral("DateTimePicker1"), QStringLiteral("提醒日期"));
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker1->setDisplayFormat(DateFormats::shortDateFormat());
    DateTimePicker2 = named(new QTimeEdit(timeGroup), QStringLiteral("DateTimePicker2"), QStringLiteral("提醒时间"));
    DateTimePicker2->setDisplayFormat(DateFormats::longTimeFormat());
    Button1 = named(new QPushButton(QStringLiteral("<—现在时间"), timeGroup), QStringLiteral("Button1"),
                    QStringLiteral("<—现在时间"));
    auto* timeRow = new QHBoxLayout(timeGroup);
    timeRow->addWidget(DateTimePicker1, 1);
    timeRow->addWidget(DateTimePicker2, 1);
    timeRow->addWidget(Button1);

    auto* optionGroup = new QGroupBox(QStringLiteral("提醒选项"), this);
    optionGroup->setAccessibleName(optionGroup->title());
    m_labelFrequency = label(optionGroup, QStringLiteral("提醒频率"));
    ComboBox1 = named(new QComboBox(optionGroup), QStringLiteral("ComboBox1"), QStringLiteral("提醒频率"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->addItems({ QStringLiteral("指定时间"), QStringLiteral("每天一次"), QStringLiteral("每周周一"),
                          QStringLiteral("每周周二"), QStringLiteral("每周周三"), QStringLiteral("每周周四"),
                          QStringLiteral("每周周五"), QStringLiteral("每周周六"), QStringLiteral("每周周日"),
                          QStringLiteral("每月一次") });
    CheckBox1 = checkBox(optionGroup, QStringLiteral("CheckBox1"), QStringLiteral("提醒声音"));
    ComboBox2 = named(new QComboBox(optionGroup), QStringLiteral("ComboBox2"), QStringLiteral("提醒声音"));
    ComboBox2->setEditable(true);
    ComboBox2->setInsertPolicy(QComboBox::NoInsert);
    ComboBox2->addItems(SoundCatalogue::names());
    SpeedButton4 = flatButton(optionGroup, QStringLiteral("SpeedButton4"), {}, QStringLiteral("播放"));
    SpeedButton4->setIcon(Images::standardIcon(QStyle::SP_MediaPlay));
    SpeedButton3 = flatButton(optionGroup, QStringLiteral("SpeedButton3"), {}, QStringLiteral("停止"));
    SpeedButton3->setIcon(Images::standardIcon(QStyle::SP_MediaStop));
    SpeedButton3->hide();
    SpeedButton5
        = flatButton(optionGroup, QStringLiteral("SpeedButton5"), QStringLiteral("..."), QStringLiteral("..."));
    CheckBox2 = checkBox(optionGroup, QStringLiteral("CheckBox2"), QStringLiteral("提醒窗口自动关闭"));
    m_labelShow = label(optionGroup, QStringLiteral("窗口在显示"));
    Edit1 = named(new QLineEdit(optionGroup), QStringLiteral("Edit1"), QStringLiteral("窗口在显示"));
    Edit1->setFixedWidth(27);
    m_labelSeconds = label(optionGroup, QStringLiteral("秒后消失"));

    auto* frequencyRow = new QHBoxLayout;
    frequencyRow->addWidget(m_labelFrequency);
    frequencyRow->addWidget(ComboBox1, 1);
    auto* soundRow = new QHBoxLayout;
    soundRow->addWidget(CheckBox1);
    soundRow->addWidget(ComboBox2, 1);
    soundRow->addWidget(SpeedButton4);
    soundRow->addWidget(SpeedButton3);
    soundRow->addWidget(SpeedButton5);
    auto* closeRow = new QHBoxLayout;
    closeRow->addWidget(CheckBox2);
    closeRow->addStretch(1);
    closeRow->addWidget(m_labelShow);
    closeRow->addWidget(Edit1);
    closeRow->addWidget(m_labelSeconds);
    auto* optionColumn = new QVBoxLayout(optionGroup);
    optionColumn->addLayout(frequencyRow);
    optionColumn->addLayout(soundRow);
    optionColumn->addLayout(closeRow);

    auto* wayGroup = new QGroupBox(QStringLiteral("提醒方式"), this);
    wayGroup->setAccessibleName(wayGroup->title());
    m_labelText = label(wayGroup, QStringLiteral("提醒文字"));
    m_labelLimit = label(wayGroup, QStringLiteral("（少于25字）"));
    Memo1 = named(new GbkTextEdit(wayGroup), QStringLiteral("Memo1"), QStringLiteral("提醒文字"));
    Memo1->setMaxBytes(50);
    Memo1->setTabChangesFocus(true);
    SpeedButton2 = flatButton(wayGroup, QStringLiteral("SpeedButton2"), QStringLiteral(">>>"), QStringLiteral(">>>"));
    m_labelProgram = label(wayGroup, QStringLiteral("执行程序"));
    Edit2 = named(new QLineEdit(wayGroup), QStringLiteral("Edit2"), QStringLiteral("执行程序"));
    SpeedButton1 = flatButton(wayGroup, QStringLiteral("SpeedButton1"), QStringLiteral("..."), QStringLiteral("..."));

    auto* textLabels = new QVBoxLayout;
    textLabels->addWidget(m_labelText);
    textLabels->addWidget(m_labelLimit);
    textLabels->addStretch(1);
    auto* textRow = new QHBoxLayout;
    textRow->addLayout(textLabels);
    textRow->addWidget(Memo1, 1);
    textRow->addWidget(SpeedButton2, 0, Qt::AlignBottom);
    auto* programRow = new QHBoxLayout;
    programRow->addWidget(m_labelProgram);
    programRow->addWidget(Edit2, 1);
    programRow->addWidget(SpeedButton1);
    auto* wayColumn = new QVBoxLayout(wayGroup);
    wayColumn->addLayout(textRow, 1);
    wayColumn->addLayout(programRow);

    CheckBox3 = checkBox(this, QStringLiteral("CheckBox3"), QStringLiteral("提醒生效"));
    BitBtn1 = named(new QPushButton(Images::standardIcon(QStyle::SP_DialogApplyButton), QStringLiteral("确定"), this),
                    QStringLiteral("BitBtn1"), QStringLiteral("确定"));
    BitBtn1->setDefault(true);
    BitBtn2 = named(new QPushButton(Images::standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("取消"), this),
                    QStringLiteral("BitBtn2"), QStringLiteral("取消"));
    auto* bottomRow = new QHBoxLayout;
    bottomRow->addWidget(CheckBox3);
    bottomRow->addStretch(1);
    bottomRow->addWidget(BitBtn1);
    bottomRow->addWidget(BitBtn2);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(4);
    column->addWidget(timeGroup);
    column->addWidget(optionGroup);
    column->addWidget(wayGroup, 1);
    column->addLayout(bottomRow);

    OpenDialog1.parent = this;
    OpenDialog2.parent = this;

    connect(Button1, &QPushButton::clicked, this, guarded(this, &ReminderEditor::Button1Click));
    connect(CheckBox1, &QCheckBox::clicked, this, guarded(this, &ReminderEditor::CheckBox1Click));
    connect(CheckBox2, &QCheckBox::clicked, this, guarded(this, &ReminderEditor::CheckBox2Click));
    connect(ComboBox2, &QComboBox::textActivated, this, guarded(this, &ReminderEditor::onSoundPicked));
    connect(ComboBox2->lineEdit(), &QLineEdit::textEdited, this, guarded(this, &ReminderEditor::ComboBox2Change));
    connect(SpeedButton5, &QToolButton::clicked, this, guarded(this, &ReminderEditor::SpeedButton5Click));
    connect(SpeedButton4, &QToolButton::clicked, this, guarded(this, &ReminderEditor::SpeedButton4Click));
    connect(SpeedButton3, &QToolButton::clicked, this, guarded(this, &ReminderEditor::SpeedButton3Click));
    connect(SpeedButton2, &QToolButton::clicked, this, guarded(this, &ReminderEditor::SpeedButton2Click));
    connect(SpeedButton1, &QToolButton::clicked, this, guarded(this, &ReminderEditor::SpeedButton1Click));
    connect(BitBtn1, &QPushButton::clicked, this, guarded(this, &ReminderEditor::BitBtn1Click));
    connect(BitBtn2, &QPushButton::clicked, this, guarded(this, &ReminderEditor::BitBtn2Click));
}

ReminderEditor::~ReminderEditor() = default;

QString ReminderEditor::typedPreviewFile(const QString& text)
{
    if (SoundCatalogue::names().contains(text))
        return SoundCatalogue::resolve(text);
    if (QFileInfo(text).isAbsolute())
        return text;
    return SoundCatalogue::previewFile(text);
}

void ReminderEditor::FormClose()
{
    // The player goes first so that a failing reload still silences the preview.
    player().close();
    m_openPending = false;
    m_listRows.close();
    m_listRows.setSql(ReminderTable::selectAll(AppPaths::reminderTablePath()));
    m_listRows.open();
}

void ReminderEditor::Button1Click()
{
    const QDateTime now = Services::clock().now();
    DateTimePicker1->setDate(now.date());
    DateTimePicker2->setTime(now.time());
}

void ReminderEditor::CheckBox1Click()
{
    ComboBox2->setEnabled(CheckBox1->isChecked());
}

void ReminderEditor::CheckBox2Click()
{
    Edit1->setEnabled(CheckBox2->isChecked());
}

void ReminderEditor::ComboBox2Change()
{
    onSoundTyped(ComboBox2->currentText());
}

void ReminderEditor::onSoundPicked(const QString& text)
{
    // Enter in the box also "activates" typed text; only a listed name counts as a pick.
    if (ComboBox2->findText(text, Qt::MatchExactly) < 0) {
        onSoundTyped(text);
        return;
    }
    openPreview(SoundCatalogue::previewFile(text));
}

void ReminderEditor::onSoundTyped(const QString& text)
{
    // Half-typed names must not raise an error per keystroke: the player opens only once the text names a file.
    SoundPlayer& p = player();
    showPlayButton();
    const QString file = text.isEmpty() ? QString() : typedPreviewFile(text);
    p.close();
    p.setFileName(file);
    m_openPending = false;
    if (file.isEmpty())
        return;
    if (QFileInfo(file).isFile())
        p.open();
    else
        m_openPending = true;
}

void ReminderEditor::openPreview(const QString& fileName)
{
    SoundPlayer& p = player();
    showPlayButton();
    m_openPending = false;
    p.setFileName(fileName);
    p.open();
}

void ReminderEditor::clearPreview()
{
    m_openPending = false;
    player().setFileName(QString());
    player().close();
}

void ReminderEditor::showPlayButton()
{
    SpeedButton3->hide();
    SpeedButton4->show();
}

void ReminderEditor::SpeedButton5Click()
{
    const QString file = Services::dialogs().openFile(OpenDialog1);
    showPlayButton();
    if (file.isEmpty())
        return;
    SoundPlayer& p = player();
    p.close();
    m_openPending = false;
    p.setFileName(file);
    ComboBox2->setEditText(file);
    p.open();
}

void ReminderEditor::SpeedButton4Click()
{
    SoundPlayer& p = player();
    if (p.fileName().isEmpty())
        return;
    if (m_openPending) {
        p.open(); // a text that names no file fails here, with the player's own error
        m_openPending = false;
    }
    p.play();
    SpeedButton4->hide();
    SpeedButton3->show();
}

void ReminderEditor::SpeedButton3Click()
{
    player().stop();
    SpeedButton3->hide();
    SpeedButton4->show();
}

void ReminderEditor::SpeedButton2Click()
{
    if (m_opens.phrases)
        m_opens.phrases->exec();
}

void ReminderEditor::SpeedButton1Click()
{
    const QString file = Services::dialogs().openFile(OpenDialog2);
    if (!file.isEmpty())
        Edit2->setText(file);
}

void ReminderEditor::BitBtn2Click()
{
    reject();
}

bool ReminderEditor::refuseEmptyText()
{
    if (!Memo1->toPlainText().isEmpty())
        return false;
    Services::dialogs().messageBox(this, QStringLiteral("请输入提醒文字，应小于25个字!"), QStringLiteral("提示"),
                                   MsgIcon::Warning, MsgButtons::Ok);
    return true;
}

void ReminderEditor::save(const QStringList& statement)
{
    if (refuseEmptyText())
        return;
    m_changes.close();
    m_changes.clearSql();
    for (const QString& line : statement)
        m_changes.addSql(line);
    ReminderTable::bindValues(m_changes, values());
    m_changes.execSql();
    accept();
}

Reminder ReminderEditor::values() const
{
    Reminder r;
    r.hint = CheckBox3->isChecked() ? QStringLiteral("是") : QStringLiteral("否");
    r.hintdate = DateTimePicker1->date();
    r.hinttime = DateTimePicker2->time();
    r.content = Memo1->toPlainText();
    r.sound = CheckBox1->isChecked() ? ComboBox2->currentText() : QString();
    r.frequency = ComboBox1->currentText();
    r.program = Edit2->text();
    r.dispear = CheckBox2->isChecked() ? Edit1->text() : QString();
    return r;
}
