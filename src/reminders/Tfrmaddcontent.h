#pragma once

#include <QDialog>

class GbkLineEdit;
class QFrame;
class QListWidget;
class QPushButton;

/// "添加提醒内容": adds phrases, one after another, to the settings window's phrase list. Nothing is saved here;
/// the settings window writes the list when its "确定" is pressed.
class Tfrmaddcontent : public QDialog
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
    void FormShow();
    void BitBtn1Click();
    void BitBtn2Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget& m_target;
};
