#pragma once

#include "widgets/CentredDialog.h"

class QAction;
class QLineEdit;
class QMenu;
class QModelIndex;
class QPushButton;
class QTableView;
class TableQuery;
class TableQueryModel;

/// "提醒列表": every reminder in a grid, with add, modify, delete, run and stop. The editors insert and update
/// through Query2 and reload Query1 when they close.
class TFrmAlarm : public CentredDialog
{
    Q_OBJECT
public:
    explicit TFrmAlarm(QWidget* parent = nullptr);

    /// The editors this window opens; start-up hands them over once they exist.
    struct Opens
    {
        QDialog* add = nullptr; ///< "增  加": TFrmAlarminf
        QDialog* edit = nullptr; ///< "修  改": TFrmEdit
    };
    void setOpens(const Opens& windows) { m_opens = windows; }

    TableQuery* Query1 = nullptr; ///< the grid's rows
    TableQuery* Query2 = nullptr; ///< changes, this window's and the editors'
    TableQueryModel* DataSource1 = nullptr;
    QTableView* DBGrid1 = nullptr;
    QLineEdit* DBEdit1 = nullptr; ///< hidden: the current row's num
    QPushButton* Button1 = nullptr; ///< "增  加"
    QPushButton* Button2 = nullptr; ///< "修  改"
    QPushButton* Button3 = nullptr; ///< "删   除"
    QPushButton* Button5 = nullptr; ///< "运  行"
    QPushButton* Button6 = nullptr; ///< "停  止"
    QPushButton* BitBtn1 = nullptr; ///< "关闭"
    QMenu* PopupMenu1 = nullptr; ///< the grid's context menu
    QAction* N1 = nullptr; ///< "导出到日历文件…"
    QAction* N2 = nullptr; ///< "从日历文件导入…"

public slots:
    void FormShow() override;
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button5Click();
    void Button6Click();
    void DBGrid1CellClick(const QModelIndex& index);
    void BitBtn1Click();
    void ExportCalendarClick();
    void ImportCalendarClick();

private:
    /// Shows 停止 when the current row's hint is "是", else 运行.
    void applyRunStopRule();
    /// Runs one change statement on Query2 and reloads the grid, whose current row becomes the first.
    void runAndReload(const QString& statement);
    void reloadList();
    void onCurrentRowChanged(int row);

    Opens m_opens;
};
