#pragma once

#include "widgets/CentredDialog.h"

class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class TAppUpdater;

/// The program's update window, opened from "软件升级": one button starts the check of AppUpdater1, the bar shows
/// the current file's progress. Its caption reports an aborted upgrade or a missing update for the rest of the
/// process.
class TFrmUpdate : public CentredDialog
{
    Q_OBJECT
public:
    explicit TFrmUpdate(QWidget* parent = nullptr);
    ~TFrmUpdate() override;

    QLabel* Image1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* Button1 = nullptr; ///< "升级"
    QPushButton* Button2 = nullptr; ///< "关闭"
    TAppUpdater* AppUpdater1 = nullptr;

public slots:
    void Button1Click();
    void Button2Click();
    void AppUpdater1Progress(int PercentsDone);
    void AppUpdater1Aborted();
    void AppUpdater1NoUpdateAvailable();
};
