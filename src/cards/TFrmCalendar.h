#pragma once

#include "widgets/CentredDialog.h"

class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class TableQuery;
class TableQueryModel;

/// "名片查询": finds the cards whose chosen field begins with the typed text, across every category, and shows
/// them in a grid with the current match's details above it.
class TFrmCalendar : public CentredDialog
{
    Q_OBJECT
public:
    explicit TFrmCalendar(QWidget* parent = nullptr);

    QGroupBox* GroupBox1 = nullptr; ///< "查询条件"
    QRadioButton* RadioButton1 = nullptr; ///< "  姓名"
    QRadioButton* RadioButton2 = nullptr; ///< "  网名"
    QRadioButton* RadioButton3 = nullptr; ///< "  QQ"
    QRadioButton* RadioButton4 = nullptr; ///< "  MSN"
    QRadioButton* RadioButton5 = nullptr; ///< "  UC"
    QRadioButton* RadioButton6 = nullptr; ///< "  手机"
    QRadioButton* RadioButton7 = nullptr; ///< "  邮箱"
    QGroupBox* GroupBox2 = nullptr; ///< "查询"
    QLineEdit* Edit1 = nullptr; ///< the search text
    QPushButton* SpeedButton1 = nullptr; ///< "查    询"
    QPushButton* SpeedButton2 = nullptr; ///< "关    闭"
    QGroupBox* GroupBox3 = nullptr; ///< "详细资料"
    /// classify, name, netname, qq, msn, uc, email, mobile, tel, home, address of the current match; read-only.
    QList<QLineEdit*> DBEdits;
    QPlainTextEdit* DBMemo1 = nullptr;
    QTableView* DBGrid1 = nullptr;
    TableQueryModel* DataSource1 = nullptr;
    TableQuery* Query1 = nullptr;

public slots:
    void FormShow() override;
    void SpeedButton1Click();
    void SpeedButton2Click();
    void FormClose() override;

private:
    QList<QRadioButton*> radioButtons() const;
    void followQuery();
};
