#include "TFrmShutdown.h"

#include "platform/AppPaths.h"
#include "platform/Clock.h"
#include "platform/Guarded.h"
#include "platform/SecondTimer.h"
#include "platform/Services.h"
#include "storage/Settings.h"
#include "text/DateFormats.h"
#include "widgets/TNotifyPopup.h"
#include "widgets/WindowPlacement.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QTimeEdit>

namespace {

template <typename W> W* place(W* widget, const char* name, int x, int y)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->move(x, y);
    widget->adjustSize();
    return widget;
}

QLabel* caption(QWidget* parent, const char* name, const QString& text, int x, int y)
{
    auto* label = place(new QLabel(text, parent), name, x, y);
    label->setAccessibleName(text);
    return label;
}

QLabel* redLabel(QWidget* parent, const char* name, int x, int y)
{
    auto* label = place(new QLabel(parent), name, x, y);
    label->setAttribute(Qt::WA_TranslucentBackground);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(palette);
    label->resize(240, 14);
    return label;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, int x, int y, int w, int h)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAccessibleName(text);
    b->setGeometry(x, y, w, h);
    b->setAutoDefault(false);
    return b;
}

QRadioButton* radio(QWidget* parent, const char* name, const QString& text, int x, int y)
{
    auto* r = place(new QRadioButton(text, parent), name, x, y);
    r->setAccessibleName(text);
    return r;
}

} // namespace

TFrmShutdown::TFrmShutdown(TNotifyPopup& warningPopup, QWidget* parent)
    : QDialog(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowCloseButtonHint)
    , m_scheduler(AppPaths::settingsFilePath())
    , m_warningPopup(warningPopup)
{
    setObjectName(QStringLiteral("FrmShutdown"));
    setWindowTitle(QStringLiteral("关机设置"));
    setAccessibleName(QStringLiteral("关机设置"));
    setFixedSize(368, 236);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    setFont(font);

    GroupBox1 = new QGroupBox(QStringLiteral("目前状态"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setAccessibleName(QStringLiteral("目前状态"));
    GroupBox1->setGeometry(16, 12, 337, 81);
    Label1 = caption(GroupBox1, "Label1", QStringLiteral("关机方式："), 24, 28);
    Label2 = redLabel(GroupBox1, "Label2", 88, 28);
    Label3 = caption(GroupBox1, "Label3", QStringLiteral("关机时间："), 25, 56);
    Label4 = redLabel(GroupBox1, "Label4", 88, 56);

    GroupBox2 = new QGroupBox(QStringLiteral("关机方式"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setAccessibleName(QStringLiteral("关机方式"));
    GroupBox2->setGeometry(16, 100, 337, 85);
    RadioButton1 = radio(GroupBox2, "RadioButton1", QStringLiteral("定时关机"), 13, 26);
    RadioButton1->setChecked(true);
    DateTimePicker1 = new QDateEdit(GroupBox2);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker1->setDisplayFormat(DateFormats::shortDateFormat());
    DateTimePicker1->setGeometry(83, 23, 85, 21);
    DateTimePicker2 = new QTimeEdit(GroupBox2);
    DateTimePicker2->setObjectName(QStringLiteral("DateTimePicker2"));
    DateTimePicker2->setDisplayFormat(DateFormats::longTimeFormat());
    DateTimePicker2->setGeometry(170, 23, 79, 21);
    Button1 = button(GroupBox2, "Button1", QStringLiteral("<—现在时间"), 256, 20, 73, 25);
    RadioButton2 = radio(GroupBox2, "RadioButton2", QStringLiteral("计时关机"), 15, 56);
    // A spin box holds only whole numbers in its range, so "应用设置" can never stop half-way on a bad number.
    Edit1 = new QSpinBox(GroupBox2);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAccessibleName(QStringLiteral("分钟"));
    Edit1->setRange(0, 100);
    Edit1->setValue(15);
    Edit1->setWrapping(false);
    Edit1->setGeometry(83, 52, 65, 21);
    Label5 = caption(GroupBox2, "Label5", QStringLiteral("分钟后关机"), 168, 56);

    CheckBox1 = place(new QCheckBox(QStringLiteral("关机前1分钟提示"), this), "CheckBox1", 16, 204);
    CheckBox1->setAccessibleName(QStringLiteral("关机前1分钟提示"));
    CheckBox1->setChecked(false);

    Button2 = button(this, "Button2", QStringLiteral("应用设置"), 128, 200, 69, 25);
    Button3 = button(this, "Button3", QStringLiteral("取消设置"), 205, 200, 69, 25);
    Button4 = button(this, "Button4", QStringLiteral("退出"), 283, 200, 69, 25);

    Timer1 = new SecondTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));

    connect(Button1, &QPushButton::clicked, this, guarded(this, &TFrmShutdown::Button1Click));
    connect(Button2, &QPushButton::clicked, this, guarded(this, &TFrmShutdown::Button2Click));
    connect(Button3, &QPushButton::clicked, this, guarded(this, &TFrmShutdown::Button3Click));
    connect(Button4, &QPushButton::clicked, this, guarded(this, &TFrmShutdown::Button4Click));
    connect(Timer1, &SecondTimer::timeout, this, guarded(this, &TFrmShutdown::Timer1Timer));
    // The running count is saved every few seconds; at exit it is saved as it stands.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { m_scheduler.exiting(); });

    FormCreate();
}

void TFrmShutdown::FormCreate()
{
    CheckBox1->setChecked(Settings().get(Settings::Hint));
    // Running from start-up picks up a plan stored by an earlier run.
    Timer1->start();
}

void TFrmShutdown::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        WindowPlacement::centreOnScreen(this);
    runGuarded([this] { FormShow(); });
}

void TFrmShutdown::FormShow()
{
    setNow();
    const ShutdownScheduler::Status status = m_scheduler.status();
    Label2->setText(status.mode);
    Label4->setText(status.time);
}

void TFrmShutdown::setNow()
{
    const QDateTime now = Services::clock().now();
    DateTimePicker1->setDate(now.date());
    DateTimePicker2->setTime(now.time());
}

void TFrmShutdown::Button1Click()
{
    setNow();
}

void TFrmShutdown::Button2Click()
{
    Edit1->interpretText();
    ShutdownScheduler::Plan plan;
    plan.appointed = RadioButton1->isChecked();
    plan.date = DateTimePicker1->date();
    plan.time = DateTimePicker2->time();
    plan.minutes = Edit1->value();
    plan.hint = CheckBox1->isChecked();
    m_scheduler.apply(plan);
    Timer1->start();
    close();
}

void TFrmShutdown::Button3Click()
{
    m_scheduler.cancel();
    close();
}

void TFrmShutdown::Button4Click()
{
    close();
}

void TFrmShutdown::Timer1Timer()
{
    const ShutdownScheduler::TickResult result = m_scheduler.tick();
    if (!result.active) {
        Timer1->stop();
        return;
    }
    if (!result.modeLabel.isNull())
        Label2->setText(result.modeLabel);
    if (!result.timeLabel.isNull())
        Label4->setText(result.timeLabel);
    if (result.warn)
        showWarning();
}

void TFrmShutdown::showWarning()
{
    m_warningPopup.setTimeOut(60);
    m_warningPopup.setTitle(ShutdownScheduler::kWarningTitle);
    m_warningPopup.setText(ShutdownScheduler::kWarningText);
    m_warningPopup.ShowNotification();
}
