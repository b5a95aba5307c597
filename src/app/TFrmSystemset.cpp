#include "TFrmSystemset.h"

#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "platform/Autostart.h"
#include "platform/Clock.h"
#include "platform/Guarded.h"
#include "platform/SecondTimer.h"
#include "platform/Services.h"
#include "platform/SoundPlayer.h"
#include "reminders/PhraseFile.h"
#include "reminders/TodayPlan.h"
#include "storage/Settings.h"
#include "storage/TableQuery.h"
#include "widgets/Images.h"
#include "widgets/SkinTable.h"
#include "widgets/TNotifyPopup.h"
#include "widgets/TSkinEngine.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace {
QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QString& text, int y)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(text);
    box->setGeometry(16, y, 220, 20);
    return box;
}

QToolButton* makeFlatButton(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setAccessibleName(text);
    button->setAutoRaise(true);
    button->setGeometry(geometry);
    return button;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, QStyle::StandardPixmap glyph,
                        const QRect& geometry)
{
    auto* button = new QPushButton(Images::standardIcon(glyph), text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(text);
    button->setGeometry(geometry);
    return button;
}
} // namespace

TFrmSystemset::TFrmSystemset(TSkinEngine& skinEngine, QWidget* parent)
    : CentredDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_skinEngine(skinEngine)
    , m_player(Services::soundPlayers().create())
{
    setObjectName(QStringLiteral("FrmSystemset"));
    setWindowTitle(QStringLiteral("系统设置"));
    setAccessibleName(windowTitle());
    setFixedSize(334, 337);
    MediaPlayer1 = m_player.get();

    GroupBox1 = new QGroupBox(QStringLiteral("系统设置"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setAccessibleName(GroupBox1->title());
    GroupBox1->setGeometry(8, 6, 318, 134);
    CheckBox1 = makeCheckBox(GroupBox1, "CheckBox1", QStringLiteral("Windows 启动时程序自动运行"), 20);
    CheckBox2 = makeCheckBox(GroupBox1, "CheckBox2", QStringLiteral("启动时显示当日计划列表"), 42);
    CheckBox3 = makeCheckBox(GroupBox1, "CheckBox3", QStringLiteral("当日计划列表窗口自动关闭"), 64);
    CheckBox4 = makeCheckBox(GroupBox1, "CheckBox4", QStringLiteral("整点报时"), 86);
    CheckBox5 = makeCheckBox(GroupBox1, "CheckBox5", QStringLiteral("启动后隐藏主窗口"), 108);
    SpeedButton3 = makeFlatButton(GroupBox1, "SpeedButton3", QStringLiteral("默认值"), QRect(236, 104, 72, 24));

    GroupBox2 = new QGroupBox(QStringLiteral("界面选择"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setAccessibleName(GroupBox2->title());
    GroupBox2->setGeometry(8, 144, 318, 54);
    ComboBox1 = new QComboBox(GroupBox2);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setAccessibleName(QStringLiteral("界面选择"));
    ComboBox1->addItems(SkinTable::names());
    ComboBox1->setGeometry(16, 20, 200, 24);

    GroupBox3 = new QGroupBox(QStringLiteral("提醒选项"), this);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    GroupBox3->setAccessibleName(GroupBox3->title());
    GroupBox3->setGeometry(8, 202, 318, 100);
    ListBox1 = new QListWidget(GroupBox3);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setAccessibleName(QStringLiteral("提醒内容"));
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBox1->setGeometry(16, 12, 242, 82);
    SpeedButton1 = makeFlatButton(GroupBox3, "SpeedButton1", QStringLiteral("+"), QRect(270, 14, 28, 26));
    SpeedButton2 = makeFlatButton(GroupBox3, "SpeedButton2", QStringLiteral("-"), QRect(270, 46, 28, 26));

    BitBtn4 = makeButton(this, "BitBtn4", QStringLiteral("确定"), QStyle::SP_DialogOkButton, QRect(150, 306, 82, 26));
    BitBtn3
        = makeButton(this, "BitBtn3", QStringLiteral("取消"), QStyle::SP_DialogCancelButton, QRect(244, 306, 82, 26));
    BitBtn4->setAutoDefault(false);
    BitBtn3->setAutoDefault(false);

    Timer1 = new SecondTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));

    Query1 = new TableQuery(this);
    Query1->setObjectName(QStringLiteral("Query1"));
    NotifyPopup1 = new TNotifyPopup(this);
    NotifyPopup1->setObjectName(QStringLiteral("NotifyPopup1"));
    TNotifyPopup::applyProgramSettings(NotifyPopup1);

    connect(CheckBox4, &QCheckBox::clicked, this, guarded(this, &TFrmSystemset::CheckBox4Click));
    connect(SpeedButton3, &QToolButton::clicked, this, guarded(this, &TFrmSystemset::SpeedButton3Click));
    // Only a choice by the user repaints; loading the index from the file or "默认值" does not.
    connect(ComboBox1, &QComboBox::activated, this, guarded(this, &TFrmSystemset::ComboBox1Change));
    connect(SpeedButton1, &QToolButton::clicked, this, guarded(this, &TFrmSystemset::SpeedButton1Click));
    connect(SpeedButton2, &QToolButton::clicked, this, guarded(this, &TFrmSystemset::SpeedButton2Click));
    connect(BitBtn4, &QPushButton::clicked, this, guarded(this, &TFrmSystemset::BitBtn4Click));
    connect(BitBtn3, &QPushButton::clicked, this, guarded(this, &TFrmSystemset::BitBtn3Click));
    connect(Timer1, &SecondTimer::timeout, this, guarded(this, &TFrmSystemset::Timer1Timer));

    FormCreate();
}

TFrmSystemset::~TFrmSystemset() = default;

void TFrmSystemset::FormCreate()
{
    loadSettings();
    showTodayPlanAtStart();
    setChimeOn(CheckBox4->isChecked());
}

void TFrmSystemset::FormShow()
{
    loadSettings();
    setChimeOn(CheckBox4->isChecked());
    if (const std::optional<QStringList> phrases = PhraseFile::read()) {
        ListBox1->clear();
        ListBox1->addItems(*phrases);
    }
}

void TFrmSystemset::loadSettings()
{
    const Settings::System values = Settings().system();
    CheckBox1->setChecked(values.autostart);
    CheckBox2->setChecked(values.showPlan);
    CheckBox3->setChecked(values.autoClosePlan);
    CheckBox4->setChecked(values.chime);
    CheckBox5->setChecked(values.hideMain);
    ComboBox1->setCurrentIndex(values.skin >= 0 && values.skin < ComboBox1->count() ? values.skin : -1);
}

void TFrmSystemset::showTodayPlanAtStart()
{
    if (!CheckBox2->isChecked())
        return;
    // This runs while the window is being built at start-up: an unreadable table is reported and start-up goes on.
    runGuarded([this] { TodayPlan::show(*Query1, *NotifyPopup1, CheckBox3->isChecked() ? 10 : 1000); });
    Query1->close();
}

void TFrmSystemset::setChimeOn(bool on)
{
    if (!on) {
        Timer1->stop();
        return;
    }
    if (!Timer1->isActive()) {
        // Hours that passed while the chime was off are not chimed late.
        m_chime.reset();
        Timer1->start();
    }
}

void TFrmSystemset::CheckBox4Click()
{
    setChimeOn(CheckBox4->isChecked());
}

void TFrmSystemset::Timer1Timer()
{
    if (!m_chime.tick(Services::clock().now()))
        return;
    MediaPlayer1->setFileName(AppPaths::soundDir() + QStringLiteral("clocker1.wav"));
    MediaPlayer1->open();
    MediaPlayer1->play();
}

void TFrmSystemset::SpeedButton3Click()
{
    const Settings::System defaults;
    CheckBox1->setChecked(defaults.autostart);
    CheckBox2->setChecked(defaults.showPlan);
    CheckBox3->setChecked(defaults.autoClosePlan);
    CheckBox4->setChecked(defaults.chime);
    CheckBox5->setChecked(defaults.hideMain);
    ComboBox1->setCurrentIndex(defaults.skin);
}

void TFrmSystemset::ComboBox1Change()
{
    const QString file = SkinTable::fileForName(ComboBox1->currentText());
    if (!file.isEmpty())
        m_skinEngine.setSkinFile(AppPaths::appDir() + file);
    if (!m_skinEngine.Active())
        m_skinEngine.setActive(true);
}

void TFrmSystemset::SpeedButton1Click()
{
    if (m_opens.addPhrase)
        m_opens.addPhrase->exec();
}

void TFrmSystemset::SpeedButton2Click()
{
    // Walk from the last entry back, so removing one does not shift the entries still to be looked at.
    for (int i = ListBox1->count() - 1; i >= 0; --i) {
        if (ListBox1->item(i)->isSelected())
            delete ListBox1->takeItem(i);
    }
}

void TFrmSystemset::BitBtn4Click()
{
    // A failed autostart entry must not cost the user the rest of the settings: save everything, then say what
    // went wrong instead of closing as if all was well.
    QString autostartError;
    try {
        if (CheckBox1->isChecked())
            Services::autostart().enable(AppPaths::executablePath());
        else
            Services::autostart().disable();
    } catch (const AppError& error) {
        autostartError = error.text();
    }

    Settings::System values;
    values.autostart = CheckBox1->isChecked();
    values.showPlan = CheckBox2->isChecked();
    values.autoClosePlan = CheckBox3->isChecked();
    values.chime = CheckBox4->isChecked();
    values.hideMain = CheckBox5->isChecked();
    values.skin = ComboBox1->currentIndex();
    Settings().setSystem(values);

    QStringList phrases;
    for (int i = 0; i < ListBox1->count(); ++i)
        phrases << ListBox1->item(i)->text();
    PhraseFile::write(phrases);

    accept();
    if (!autostartError.isEmpty())
        Services::reportError(autostartError);
}

void TFrmSystemset::BitBtn3Click()
{
    reject();
}
