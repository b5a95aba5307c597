#include "TFrmAlarm.h"

#include "platform/AppPaths.h"
#include "platform/Dialogs.h"
#include "platform/Guarded.h"
#include "platform/Services.h"
#include "reminders/ReminderCalendar.h"
#include "reminders/ReminderTable.h"
#include "storage/TableQuery.h"
#include "storage/TableQueryModel.h"
#include "widgets/DeferredPolish.h"
#include "widgets/Images.h"

#include <QDir>

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QPushButton* button(QWidget* parent, const QString& objectName, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(objectName);
    b->setAccessibleName(text);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TFrmAlarm::TFrmAlarm(QWidget* parent)
    : CentredDialog(parent)
{
    setObjectName(QStringLiteral("FrmAlarm"));
    setWindowTitle(QStringLiteral("提醒列表"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(474, 286);
    QFont f(QStringLiteral("宋体"));
    f.setPixelSize(12);
    setFont(f);

    Query1 = new TableQuery(this);
    Query1->setObjectName(QStringLiteral("Query1"));
    Query2 = new TableQuery(this);
    Query2->setObjectName(QStringLiteral("Query2"));

    const QStringList fields{ QStringLiteral("hint"),    QStringLiteral("hintdate"), QStringLiteral("hinttime"),
                              QStringLiteral("content"), QStringLiteral("sound"),    QStringLiteral("frequency"),
                              QStringLiteral("program"), QStringLiteral("dispear") };
    const QStringList titles{ QStringLiteral("是否提醒"), QStringLiteral("提醒日期"), QStringLiteral("提醒时间"),
                              QStringLiteral("提醒内容"), QStringLiteral("提醒声音"), QStringLiteral("提醒频率"),
                              QStringLiteral("运行程序"), QStringLiteral("消失时间") };
    DataSource1 = new TableQueryModel(Query1, fields, titles, this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setAccessibleName(QStringLiteral("提醒列表"));
    // The row height and the widths that follow each column's text need the font: set when the list is first shown.
    deferHeaderSizing(DBGrid1, [this] {
        const QFontMetrics fm = fontMetrics();
        DBGrid1->verticalHeader()->setDefaultSectionSize(fm.height() + 6);
        const auto widthFor = [&fm](const QString& sample) { return fm.horizontalAdvance(sample) + 12; };
        const QString samples[] = { QStringLiteral("2000-12-31"),
                                    QStringLiteral("23:59:59"),
                                    QStringLiteral("提醒内容提醒内容提醒内容"),
                                    QStringLiteral("爱我的人和我爱的人"),
                                    QStringLiteral("指定时间"),
                                    QStringLiteral("C:/Program Files/app"),
                                    QStringLiteral("消失时间") };
        for (int column = 1; column <= int(std::size(samples)); ++column)
            DBGrid1->setColumnWidth(column, widthFor(samples[column - 1]));
    });
    DBGrid1->setModel(DataSource1);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setShowGrid(true);
    DBGrid1->setWordWrap(false);
    DBGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    DBGrid1->horizontalHeader()->setHighlightSections(false);
    DBGrid1->verticalHeader()->setFixedWidth(12); // the row indicator
    DBGrid1->setColumnWidth(0, 59); // the switch column is fixed narrow

    DBEdit1 = new QLineEdit(this);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->setAccessibleName(QStringLiteral("num"));
    DBEdit1->setReadOnly(true);
    DBEdit1->hide();

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel2"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    Button1 = button(panel, QStringLiteral("Button1"), QStringLiteral("增  加"));
    Button2 = button(panel, QStringLiteral("Button2"), QStringLiteral("修  改"));
    Button3 = button(panel, QStringLiteral("Button3"), QStringLiteral("删   除"));
    Button5 = button(panel, QStringLiteral("Button5"), QStringLiteral("运  行"));
    Button6 = button(panel, QStringLiteral("Button6"), QStringLiteral("停  止"));
    Button6->hide();
    BitBtn1 = button(panel, QStringLiteral("BitBtn1"), QStringLiteral("关闭"));
    BitBtn1->setIcon(Images::standardIcon(QStyle::SP_DialogCloseButton));
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(8, 6, 8, 6);
    for (QPushButton* b : { Button1, Button2, Button3, Button5, Button6, BitBtn1 })
        row->addWidget(b);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(DBGrid1, 1);
    column->addWidget(panel);
    panel->setFixedHeight(286 - 241);

    connect(Query1, &TableQuery::currentRowChanged, this, guarded(this, &TFrmAlarm::onCurrentRowChanged));
    connect(Query1, &TableQuery::resultChanged, this, guarded([this] {
                if (!Query1->isActive())
                    onCurrentRowChanged(-1);
            }));
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    Query1->setRecNo(current.row());
            });
    connect(DBGrid1, &QTableView::clicked, this, guarded(this, &TFrmAlarm::DBGrid1CellClick));
    connect(Button1, &QPushButton::clicked, this, guarded(this, &TFrmAlarm::Button1Click));
    connect(Button2, &QPushButton::clicked, this, guarded(this, &TFrmAlarm::Button2Click));
    connect(Button3, &QPushButton::clicked, this, guarded(this, &TFrmAlarm::Button3Click));
    connect(Button5, &QPushButton::clicked, this, guarded(this, &TFrmAlarm::Button5Click));
    connect(Button6, &QPushButton::clicked, this, guarded(this, &TFrmAlarm::Button6Click));
    connect(BitBtn1, &QPushButton::clicked, this, guarded(this, &TFrmAlarm::BitBtn1Click));

    // Reminders in and out of calendar programs, from the grid's context menu; the buttons stay as they are.
    PopupMenu1 = new QMenu(DBGrid1);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N1 = PopupMenu1->addAction(QStringLiteral("导出到日历文件…"));
    N1->setObjectName(QStringLiteral("N1"));
    N2 = PopupMenu1->addAction(QStringLiteral("从日历文件导入…"));
    N2->setObjectName(QStringLiteral("N2"));
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(DBGrid1->viewport()->mapToGlobal(pos)); });
    connect(N1, &QAction::triggered, this, guarded(this, &TFrmAlarm::ExportCalendarClick));
    connect(N2, &QAction::triggered, this, guarded(this, &TFrmAlarm::ImportCalendarClick));
}

void TFrmAlarm::onCurrentRowChanged(int row)
{
    // The grid and the hidden key follow the query's cursor, however it moved. The switch button does not: only
    // showing the window, a click on a cell, 运行 and 停止 apply the run/stop rule, so after a delete, an editor's
    // reload or a move with the keyboard it stays as it was.
    DBEdit1->setText(Query1->fieldAsString(QStringLiteral("num")));
    if (row >= 0 && DBGrid1->currentIndex().row() != row)
        DBGrid1->setCurrentIndex(DataSource1->index(row, qMax(0, DBGrid1->currentIndex().column())));
}

void TFrmAlarm::applyRunStopRule()
{
    const bool active = Query1->fieldAsString(QStringLiteral("hint")) == QStringLiteral("是");
    Button5->setVisible(!active);
    Button6->setVisible(active);
}

void TFrmAlarm::reloadList()
{
    Query1->close();
    Query1->setSql(ReminderTable::selectAll(AppPaths::reminderTablePath()));
    Query1->open();
}

void TFrmAlarm::runAndReload(const QString& statement)
{
    Query2->close();
    Query2->setSql(statement);
    Query2->execSql();
    reloadList();
}

void TFrmAlarm::FormShow()
{
    reloadList();
    applyRunStopRule();
}

void TFrmAlarm::Button1Click()
{
    if (m_opens.add)
        m_opens.add->exec();
}

void TFrmAlarm::Button2Click()
{
    if (m_opens.edit)
        m_opens.edit->exec();
}

void TFrmAlarm::Button3Click()
{
    if (Services::dialogs().messageBox(this, QStringLiteral("你确定要删除此条记录？"), QStringLiteral("提示"),
                                       MsgIcon::Warning, MsgButtons::OkCancel)
        != MsgAnswer::Ok)
        return;
    runAndReload(ReminderTable::remove(AppPaths::reminderTablePath(), DBEdit1->text()));
}

void TFrmAlarm::Button5Click()
{
    runAndReload(ReminderTable::setActive(AppPaths::reminderTablePath(), DBEdit1->text()));
    applyRunStopRule();
}

void TFrmAlarm::Button6Click()
{
    runAndReload(ReminderTable::setStopped(AppPaths::reminderTablePath(), DBEdit1->text()));
    applyRunStopRule();
}

void TFrmAlarm::DBGrid1CellClick(const QModelIndex& index)
{
    if (index.isValid())
        Query1->setRecNo(index.row());
    applyRunStopRule();
}

void TFrmAlarm::BitBtn1Click()
{
    reject();
}

namespace {

const QString kCalendarFilter = QStringLiteral("iCalendar 日历文件 (*.ics *.ical *.ifb);;所有文件 (*)");

} // namespace

void TFrmAlarm::ExportCalendarClick()
{
    const QString folder = AppPaths::appDir() + QStringLiteral("bak/");
    QDir().mkpath(folder);
    FileDialogOptions options;
    options.parent = this;
    options.title = QStringLiteral("导出到日历文件");
    options.initialDir = folder;
    options.fileName = ReminderCalendar::defaultFileName();
    options.filter = kCalendarFilter;
    options.defaultSuffix = QStringLiteral("ics");
    options.confirmOverwrite = true;
    const QString target = Services::dialogs().saveFile(options);
    if (target.isEmpty())
        return;
    const int count = ReminderCalendar::exportFile(target);
    Services::dialogs().messageBox(this,
                                   QStringLiteral("已导出 %1 条提醒到：").arg(count) + QDir::toNativeSeparators(target),
                                   QStringLiteral("信息提示"), MsgIcon::Information, MsgButtons::Ok);
}

void TFrmAlarm::ImportCalendarClick()
{
    const QString folder = AppPaths::appDir() + QStringLiteral("bak/");
    QDir().mkpath(folder);
    FileDialogOptions options;
    options.parent = this;
    options.title = QStringLiteral("从日历文件导入");
    options.initialDir = folder;
    options.filter = kCalendarFilter;
    const QString source = Services::dialogs().openFile(options);
    if (source.isEmpty())
        return;
    const ReminderCalendar::ImportResult result = ReminderCalendar::importFile(source);
    Services::dialogs().messageBox(
        this, ReminderCalendar::summary(result), QStringLiteral("信息提示"),
        result.kind == ReminderCalendar::FileKind::Calendar ? MsgIcon::Information : MsgIcon::Warning, MsgButtons::Ok);
    if (result.imported > 0)
        FormShow();
}
