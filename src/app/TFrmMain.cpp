#include "TFrmMain.h"

#include "MakerInfo.h"
#include "platform/AppPaths.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Guarded.h"
#include "platform/SecondTimer.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "platform/SoundPlayer.h"
#include "platform/WebPage.h"
#include "reminders/MissedReminders.h"
#include "reminders/NotifyPopupAdapter.h"
#include "reminders/ReminderEngine.h"
#include "reminders/TodayPlan.h"
#include "storage/Settings.h"
#include "storage/TableQuery.h"
#include "widgets/Images.h"
#include "widgets/SkinTable.h"
#include "widgets/TNavBar.h"
#include "widgets/TNotifyPopup.h"
#include "widgets/TSkinEngine.h"
#include "widgets/TTrayIcon.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QToolButton>

namespace {
const QString kStars = QStringLiteral("***********************");

void showModal(QDialog* window)
{
    if (window)
        window->exec();
}
} // namespace

TFrmMain::TFrmMain(SoundPlayer& reminderPlayer, QWidget* parent)
    : QWidget(parent,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowCloseButtonHint)
    , m_reminderPlayer(reminderPlayer)
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QStringLiteral("Vantrel"));
    setAccessibleName(QStringLiteral("Vantrel"));
    setFixedSize(457, 326);
    setWindowIcon(Images::icon(QStringLiteral("app")));

    NavBar1 = new TNavBar(this);
    NavBar1->setFixedWidth(134);

    // The picture sits inside two lowered panels.
    auto* outer = new QFrame(this);
    outer->setObjectName(QStringLiteral("Panel1"));
    outer->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* inner = new QFrame(outer);
    inner->setObjectName(QStringLiteral("Panel2"));
    inner->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Image1 = new QLabel(inner);
    Image1->setObjectName(QStringLiteral("Image1"));
    // Drawn at the size the panels leave it, so it fills them as a stretched bitmap would; a label that stretches
    // its picture keeps two more copies of it.
    Image1->setPixmap(Images::pixmap(QStringLiteral("main-picture"), QSize(315, 318)));
    auto* innerLayout = new QHBoxLayout(inner);
    innerLayout->setContentsMargins(1, 1, 1, 1);
    innerLayout->addWidget(Image1);
    auto* outerLayout = new QHBoxLayout(outer);
    outerLayout->setContentsMargins(1, 1, 1, 1);
    outerLayout->addWidget(inner);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(NavBar1);
    layout->addWidget(outer, 1);

    buildNavBar();
    buildTrayMenu();

    TrayIcon1 = new TTrayIcon(this);
    TrayIcon1->setObjectName(QStringLiteral("TrayIcon1"));
    QList<QIcon> trayIcons;
    for (int i = 1; i <= 8; ++i)
        trayIcons.append(Images::icon(QStringLiteral("tray-%1").arg(i)));
    TrayIcon1->setIconList(trayIcons);
    TrayIcon1->setCycleIcons(true);
    TrayIcon1->setCycleInterval(400);
    TrayIcon1->setHint(QStringLiteral("Vantrel"));
    TrayIcon1->setIcon(Images::icon(QStringLiteral("tray-1")));
    TrayIcon1->setIconVisible(true);
    TrayIcon1->setIconIndex(5); // the animation starts from the first icon all the same
    TrayIcon1->setPopupMenu(PopupMenu1);
    TrayIcon1->setMinimizeToTray(true);
    TrayIcon1->OnDblClick = [this](QObject*) { TrayIcon1->RestoreMainWindow(); };
    TrayIcon1->OnStartup = [this](QObject*, bool& showMainForm) { TrayIcon1Startup(showMainForm); };

    NotifyPopup1 = new TNotifyPopup(this);
    NotifyPopup1->setObjectName(QStringLiteral("NotifyPopup1"));
    TNotifyPopup::applyProgramSettings(NotifyPopup1);

    Query1 = new TableQuery(this);
    Query1->setObjectName(QStringLiteral("Query1"));
    Query2 = new TableQuery(this);
    Query2->setObjectName(QStringLiteral("Query2"));

    SkinEngine1 = new TSkinEngine(this);
    SkinEngine1->setObjectName(QStringLiteral("SkinEngine1"));

    m_reminderPopup = std::make_unique<NotifyPopupAdapter>(NotifyPopup1);
    m_reminderEngine = std::make_unique<ReminderEngine>(*Query1, *m_reminderPopup, m_reminderPlayer);
    // Reminders missed while the program was off or the machine slept are listed on the same pop-up component.
    m_missedReminders = std::make_unique<MissedReminders>(*m_reminderPopup);
    m_reminderEngine->setEvaluating([this](const TickSeconds::Span& skipped, const QList<QDateTime>& seconds) {
        m_missedReminders->evaluating(skipped, seconds);
    });
    connect(qApp, &QCoreApplication::aboutToQuit, this, guarded([this] { m_missedReminders->exiting(); }));

    Timer2 = new SecondTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    connect(Timer2, &SecondTimer::timeout, this, guarded(this, &TFrmMain::Timer2Timer));

    // The tray icon's start-up event runs while the window loads, before the window's own creation handler.
    TrayIcon1->Loaded();
    m_showMainForm = TrayIcon1->ShowMainForm();
    FormCreate();
    Timer2->start();
}

TFrmMain::~TFrmMain() = default;

void TFrmMain::buildNavBar()
{
    const int remind = NavBar1->addHeader(QStringLiteral("提醒Vantrel"));
    BtnAlarmList = NavBar1->addButton(remind, QStringLiteral("提醒列表"), Images::icon(QStringLiteral("nav-alarm")));
    BtnSystemSet = NavBar1->addButton(remind, QStringLiteral("系统设置"), Images::icon(QStringLiteral("nav-settings")));
    BtnLocalTime = NavBar1->addButton(remind, QStringLiteral("调整本地时间"), Images::icon(QStringLiteral("nav-time")));

    const int card = NavBar1->addHeader(QStringLiteral("名片Vantrel"));
    BtnCardManage = NavBar1->addButton(card, QStringLiteral("名片管理"), Images::icon(QStringLiteral("nav-card")));
    BtnCardSearch = NavBar1->addButton(card, QStringLiteral("名片查询"), Images::icon(QStringLiteral("nav-search")));

    const int help = NavBar1->addHeader(QStringLiteral("帮助Vantrel"));
    BtnUpdate = NavBar1->addButton(help, QStringLiteral("软件升级"), Images::icon(QStringLiteral("nav-update")));
    NavBar1->addLabel(help, kStars);
    BtnHomePage = NavBar1->addButton(help, QStringLiteral("Brellan主页"), Images::icon(QStringLiteral("nav-home")));
    BtnGuestBook = NavBar1->addButton(help, QStringLiteral("Brellan留言本"), Images::icon(QStringLiteral("nav-book")));
    BtnMail = NavBar1->addButton(help, QStringLiteral("给我写信"), Images::icon(QStringLiteral("nav-mail")));
    NavBar1->addLabel(help, kStars);
    BtnHelp = NavBar1->addButton(help, QStringLiteral("帮助主题"), Images::icon(QStringLiteral("nav-help")));
    BtnAbout = NavBar1->addButton(help, QStringLiteral("关于..."), Images::icon(QStringLiteral("nav-about")));

    const int power = NavBar1->addHeader(QStringLiteral("关机Vantrel"));
    BtnShutdown = NavBar1->addButton(power, QStringLiteral("关机设置"), Images::icon(QStringLiteral("nav-shutdown")));
    BtnHide = NavBar1->addButton(power, QStringLiteral("隐藏Vantrel"), Images::icon(QStringLiteral("nav-hide")));
    BtnStars = NavBar1->addButton(power, kStars, QIcon());
    BtnExit = NavBar1->addButton(power, QStringLiteral("退出Vantrel"), Images::icon(QStringLiteral("nav-exit")));

    connect(BtnAlarmList, &QToolButton::clicked, this, guarded([this] { showModal(m_opens.reminderList); }));
    connect(BtnUpdate, &QToolButton::clicked, this, guarded([this] { showModal(m_opens.update); }));
    connect(BtnCardManage, &QToolButton::clicked, this, guarded([this] { showModal(m_opens.cardManager); }));
    connect(BtnCardSearch, &QToolButton::clicked, this, guarded([this] { showModal(m_opens.cardSearch); }));
    connect(BtnSystemSet, &QToolButton::clicked, this, guarded([this] { showModal(m_opens.settings); }));
    connect(BtnLocalTime, &QToolButton::clicked, this, guarded([] { Services::shell().openDateTimeSettings(); }));
    connect(BtnHomePage, &QToolButton::clicked, this, guarded([] { OpenWebPage(MakerInfo::homePage()); }));
    connect(BtnGuestBook, &QToolButton::clicked, this, guarded([] { OpenWebPage(MakerInfo::guestBook()); }));
    connect(BtnMail, &QToolButton::clicked, this,
            guarded([] { Services::shell().open(QStringLiteral("mailto:") + MakerInfo::mailAddress()); }));
    connect(BtnHelp, &QToolButton::clicked, this,
            guarded([] { Services::shell().open(AppPaths::appDir() + QStringLiteral("helper.chm")); }));
    connect(BtnAbout, &QToolButton::clicked, this, guarded(this, &TFrmMain::AboutClick));
    connect(BtnShutdown, &QToolButton::clicked, this, guarded([this] { showModal(m_opens.shutdown); }));
    connect(BtnHide, &QToolButton::clicked, this, guarded(this, &TFrmMain::HideClick));
    connect(BtnExit, &QToolButton::clicked, this, guarded([this] { ExitWithConfirmation(); }));
}

void TFrmMain::buildTrayMenu()
{
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto add = [this](const char* name, const QString& caption) {
        QAction* action = PopupMenu1->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    N1 = add("N1", QStringLiteral("打开Vantrel"));
    N5 = add("N5", QStringLiteral("今日计划"));
    PopupMenu1->addSeparator();
    N11 = add("N11", QStringLiteral("打开电子钟"));
    N12 = add("N12", QStringLiteral("关闭提醒音乐"));
    N13 = add("N13", QStringLiteral("Brellan主页"));
    N14 = add("N14", QStringLiteral("关于"));
    PopupMenu1->addSeparator();
    N16 = add("N16", QStringLiteral("退出"));
    PopupMenu1->addSeparator();

    connect(N1, &QAction::triggered, this, guarded(this, &TFrmMain::N1Click));
    connect(N5, &QAction::triggered, this, guarded(this, &TFrmMain::N5Click));
    connect(N11, &QAction::triggered, this, guarded(this, &TFrmMain::N11Click));
    connect(N12, &QAction::triggered, this, guarded(this, &TFrmMain::N12Click));
    connect(N13, &QAction::triggered, this, guarded(this, &TFrmMain::N13Click));
    connect(N14, &QAction::triggered, this, guarded(this, &TFrmMain::N14Click));
    connect(N16, &QAction::triggered, this, guarded([this] { ExitWithConfirmation(); }));
}

void TFrmMain::TrayIcon1Startup(bool& ShowMainForm)
{
    setWindowTitle(QStringLiteral("Vantrel"));
    ShowMainForm = !Settings().get(Settings::HideMain);
}

void TFrmMain::FormCreate()
{
    const Settings settings;
    const int skin = settings.get(Settings::Skin);
    const QString file = SkinTable::fileForIndex(skin);
    if (!file.isEmpty())
        SkinEngine1->setSkinFile(AppPaths::appDir() + file);
    if (!SkinEngine1->Active())
        SkinEngine1->setActive(true);
    // Say once, at start, what is wrong with a damaged settings file; reads then give the defaults.
    const QString problem = settings.problem();
    if (!problem.isEmpty())
        Services::reportError(problem);
}

void TFrmMain::Timer2Timer()
{
    m_reminderEngine->tick();
}

void TFrmMain::N1Click()
{
    show();
    raise();
    activateWindow();
}

void TFrmMain::N5Click()
{
    TodayPlan::show(*Query2, *NotifyPopup1, 1000);
}

void TFrmMain::N11Click()
{
    if (N11->text() != QStringLiteral("打开电子钟")) {
        if (m_opens.clock)
            m_opens.clock->close();
        N11->setText(QStringLiteral("打开电子钟"));
    } else {
        if (m_opens.clock)
            m_opens.clock->show();
        N11->setText(QStringLiteral("关闭电子钟"));
    }
}

void TFrmMain::N12Click()
{
    m_reminderPlayer.close();
}

void TFrmMain::N13Click()
{
    OpenWebPage(MakerInfo::homePage());
}

void TFrmMain::N14Click()
{
    showModal(m_opens.about);
}

void TFrmMain::AboutClick()
{
    if (!m_opens.about)
        return;
    m_opens.about->show();
    m_opens.about->raise();
    m_opens.about->activateWindow();
}

void TFrmMain::HideClick()
{
    showClock();
    close();
}

bool TFrmMain::ExitWithConfirmation()
{
    const MsgAnswer answer
        = Services::dialogs().messageBox(this, QStringLiteral("确 定 要 退 出 此 系 统!"), QStringLiteral("提示"),
                                         MsgIcon::Warning, MsgButtons::OkCancel);
    if (answer != MsgAnswer::Ok)
        return false;
    close(); // hides, and shows the clock, as any close does
    m_exiting = true;
    emit exitRequested();
    return true;
}

void TFrmMain::showClock()
{
    if (m_opens.clock)
        m_opens.clock->show();
    N11->setText(QStringLiteral("关闭电子钟"));
}

void TFrmMain::closeEvent(QCloseEvent* event)
{
    if (m_exiting) {
        event->accept();
        return;
    }
    event->ignore();
    hide();
}

void TFrmMain::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        showClock();
}

void TFrmMain::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_placed)
        return;
    m_placed = true;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}
