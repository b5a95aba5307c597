#pragma once

#include "platform/SecondTimer.h"

#include <QWidget>
#include <memory>

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QToolButton;
class MissedReminders;
class ReminderEngine;
class ReminderPopup;
class SoundPlayer;
class TableQuery;
class TNavBar;
class TNotifyPopup;
class TSkinEngine;
class TTrayIcon;

/// The main window: the navigation bar, the tray icon with its menu, the reminder engine's timer and the pop-up
/// component. Closing it only hides it; the program ends through the confirmed exit command.
class TFrmMain : public QWidget
{
    Q_OBJECT
public:
    /// reminderPlayer is the shared reminder player (the add window's MediaPlayer1): the engine plays on it and
    /// "关闭提醒音乐" closes it.
    explicit TFrmMain(SoundPlayer& reminderPlayer, QWidget* parent = nullptr);
    ~TFrmMain() override;

    /// The windows this one opens. They are created after it, so start-up hands them over once they exist; a
    /// window not handed over is not opened.
    struct Opens
    {
        QDialog* reminderList = nullptr; ///< "提醒列表", modal
        QDialog* settings = nullptr; ///< "系统设置", modal
        QDialog* cardManager = nullptr; ///< "名片管理", modal
        QDialog* cardSearch = nullptr; ///< "名片查询", modal
        QDialog* update = nullptr; ///< "软件升级", modal
        QDialog* shutdown = nullptr; ///< "关机设置", modal
        QDialog* about = nullptr; ///< "关于": modal from the tray, modeless from the bar
        QWidget* clock = nullptr; ///< the desktop clock
    };
    void setOpens(const Opens& windows) { m_opens = windows; }

    /// The start-up decision taken from "hide": false keeps the main window hidden at start.
    bool showMainForm() const { return m_showMainForm; }

    TNavBar* NavBar1 = nullptr;
    QLabel* Image1 = nullptr;
    TTrayIcon* TrayIcon1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* N1 = nullptr; ///< "打开Vantrel"
    QAction* N5 = nullptr; ///< "今日计划"
    QAction* N11 = nullptr; ///< "打开电子钟" / "关闭电子钟"
    QAction* N12 = nullptr; ///< "关闭提醒音乐"
    QAction* N13 = nullptr; ///< "Brellan主页"
    QAction* N14 = nullptr; ///< "关于"
    QAction* N16 = nullptr; ///< "退出"
    TNotifyPopup* NotifyPopup1 = nullptr;
    SecondTimer* Timer2 = nullptr;
    TableQuery* Query1 = nullptr;
    TableQuery* Query2 = nullptr;
    TSkinEngine* SkinEngine1 = nullptr;

    // Navigation bar buttons, in bar order.
    QToolButton* BtnAlarmList = nullptr; ///< "提醒列表"
    QToolButton* BtnSystemSet = nullptr; ///< "系统设置"
    QToolButton* BtnLocalTime = nullptr; ///< "调整本地时间"
    QToolButton* BtnCardManage = nullptr; ///< "名片管理"
    QToolButton* BtnCardSearch = nullptr; ///< "名片查询"
    QToolButton* BtnUpdate = nullptr; ///< "软件升级"
    QToolButton* BtnHomePage = nullptr; ///< "Brellan主页"
    QToolButton* BtnGuestBook = nullptr; ///< "Brellan留言本"
    QToolButton* BtnMail = nullptr; ///< "给我写信"
    QToolButton* BtnHelp = nullptr; ///< "帮助主题"
    QToolButton* BtnAbout = nullptr; ///< "关于..."
    QToolButton* BtnShutdown = nullptr; ///< "关机设置"
    QToolButton* BtnHide = nullptr; ///< "隐藏Vantrel"
    QToolButton* BtnStars = nullptr; ///< the row of asterisks, a button without action
    QToolButton* BtnExit = nullptr; ///< "退出Vantrel"

    /// Asks "确 定 要 退 出 此 系 统!" and ends the program on OK. Returns whether the user confirmed.
    bool ExitWithConfirmation();

signals:
    /// The user confirmed the exit; the entry point ends the message loop.
    void exitRequested();

public slots:
    void TrayIcon1Startup(bool& ShowMainForm);
    void FormCreate();
    void Timer2Timer();
    void N1Click();
    void N5Click();
    void N11Click();
    void N12Click();
    void N13Click();
    void N14Click();
    void HideClick();
    void AboutClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildNavBar();
    void buildTrayMenu();
    void showClock();

    SoundPlayer& m_reminderPlayer;
    Opens m_opens;
    bool m_showMainForm = true;
    bool m_exiting = false;
    bool m_placed = false;
    std::unique_ptr<ReminderPopup> m_reminderPopup;
    std::unique_ptr<ReminderEngine> m_reminderEngine;
    std::unique_ptr<MissedReminders> m_missedReminders;
};
