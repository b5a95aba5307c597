#pragma once

#include "ShutdownScheduler.h"
#include "platform/SecondTimer.h"

#include <QDialog>

class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTimeEdit;
class TNotifyPopup;

/// "关机设置": edits the power-off plan. The window lives from start-up on, and its timer carries the plan out
/// whether the window is open or not.
class TFrmShutdown : public QDialog
{
    Q_OBJECT
public:
    /// warningPopup is the main window's NotifyPopup1, which shows the one-minute warning.
    explicit TFrmShutdown(TNotifyPopup& warningPopup, QWidget* parent = nullptr);

    QGroupBox* GroupBox1 = nullptr; ///< "目前状态"
    QLabel* Label1 = nullptr; ///< "关机方式："
    QLabel* Label2 = nullptr; ///< the mode
    QLabel* Label3 = nullptr; ///< "关机时间："
    QLabel* Label4 = nullptr; ///< the moment or the minutes left
    QGroupBox* GroupBox2 = nullptr; ///< "关机方式"
    QRadioButton* RadioButton1 = nullptr; ///< "定时关机"
    QDateEdit* DateTimePicker1 = nullptr; ///< the date
    QTimeEdit* DateTimePicker2 = nullptr; ///< the time
    QPushButton* Button1 = nullptr; ///< "<—现在时间"
    QRadioButton* RadioButton2 = nullptr; ///< "计时关机"
    QSpinBox* Edit1 = nullptr; ///< minutes, 0 to 100, with its up-down arrows
    QLabel* Label5 = nullptr; ///< "分钟后关机"
    QCheckBox* CheckBox1 = nullptr; ///< "关机前1分钟提示"
    QPushButton* Button2 = nullptr; ///< "应用设置"
    QPushButton* Button3 = nullptr; ///< "取消设置"
    QPushButton* Button4 = nullptr; ///< "退出"
    SecondTimer* Timer1 = nullptr;

public slots:
    void FormCreate();
    void FormShow();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Timer1Timer();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setNow();
    void showWarning();

    ShutdownScheduler m_scheduler;
    TNotifyPopup& m_warningPopup;
};
