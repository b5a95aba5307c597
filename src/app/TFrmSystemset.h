#pragma once

#include "widgets/CentredDialog.h"

#include <memory>

#include "platform/SecondTimer.h"
#include "reminders/HourlyChime.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QListWidget;
class QPushButton;
class QToolButton;
class SoundPlayer;
class TableQuery;
class TNotifyPopup;
class TSkinEngine;

/// "系统设置": the switches of section "system" in helper.ini, the autostart entry, the skin list and the preset
/// reminder phrases. The window also owns the hourly chime (its timer and player) and shows today's plan once at
/// start-up. It is created once and loads its controls from the file at creation and at every showing.
class TFrmSystemset : public CentredDialog
{
    Q_OBJECT
public:
    /// skinEngine is the main window's SkinEngine1, on which a choice in the skin list acts.
    explicit TFrmSystemset(TSkinEngine& skinEngine, QWidget* parent = nullptr);
    ~TFrmSystemset() override;

    /// The window this one opens; start-up hands it over once it exists.
    struct Opens
    {
        QDialog* addPhrase = nullptr; ///< "+": Tfrmaddcontent, which adds to ListBox1
    };
    void setOpens(const Opens& windows) { m_opens = windows; }

    QGroupBox* GroupBox1 = nullptr; ///< "系统设置"
    QCheckBox* CheckBox1 = nullptr; ///< "Windows 启动时程序自动运行" (autostart)
    QCheckBox* CheckBox2 = nullptr; ///< "启动时显示当日计划列表" (show)
    QCheckBox* CheckBox3 = nullptr; ///< "当日计划列表窗口自动关闭" (autoclose)
    QCheckBox* CheckBox4 = nullptr; ///< "整点报时" (clock)
    QCheckBox* CheckBox5 = nullptr; ///< "启动后隐藏主窗口" (hide)
    QToolButton* SpeedButton3 = nullptr; ///< "默认值"
    QGroupBox* GroupBox2 = nullptr; ///< "界面选择"
    QComboBox* ComboBox1 = nullptr; ///< the skin list
    QGroupBox* GroupBox3 = nullptr; ///< "提醒选项"
    QListWidget* ListBox1 = nullptr; ///< the preset phrases
    QToolButton* SpeedButton1 = nullptr; ///< "+"
    QToolButton* SpeedButton2 = nullptr; ///< "-"
    QPushButton* BitBtn4 = nullptr; ///< "确定"
    QPushButton* BitBtn3 = nullptr; ///< "取消"

    SecondTimer* Timer1 = nullptr; ///< the hourly chime, 1000 ms
    SoundPlayer* MediaPlayer1 = nullptr; ///< the chime's own player, apart from the reminder player
    TableQuery* Query1 = nullptr; ///< today's plan at start-up
    TNotifyPopup* NotifyPopup1 = nullptr; ///< today's plan at start-up

public slots:
    void FormCreate();
    void FormShow() override;
    void CheckBox4Click();
    void SpeedButton3Click();
    void ComboBox1Change();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void BitBtn4Click();
    void BitBtn3Click();
    void Timer1Timer();

private:
    void loadSettings();
    void setChimeOn(bool on);
    void showTodayPlanAtStart();

    TSkinEngine& m_skinEngine;
    Opens m_opens;
    std::unique_ptr<SoundPlayer> m_player;
    HourlyChime m_chime;
};
