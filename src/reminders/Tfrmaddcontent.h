#pragma once

#include "widgets/CentredDialog.h"

class GbkLineEdit;
class QFrame;
class QListWidget;
class QPushButton;

/// "添加提醒内容": adds phrases, one after another, to the settings window's phrase list. Nothing is saved here;
/// the settings window writes the list when its "确定" is pressed.
class Tfrmaddcontent : public CentredDialog
{
    Q_OBJECT
public:
    /// target is the list the phrases go to: the settings window's ListBox1.
    explicit Tfrmaddcontent(QListWidget& target, QWidget* parent = nullptr);

    QFrame* Bevel1 = nullptr;
    GbkLineEdit* Edit1 = nullptr;
    QPushButton* BitBtn1 = nullptr; ///< "添加"
    QPushButton* BitBtn2 = nullptr; ///< "取消"

public slots:
    void FormShow() override;
    void BitBtn1Click();
    void BitBtn2Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget& m_target;
};
