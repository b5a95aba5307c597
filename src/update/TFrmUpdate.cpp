#include "TFrmUpdate.h"

#include "TAppUpdater.h"
#include "UpdateWindows.h"
#include "platform/Guarded.h"
#include "widgets/Images.h"

#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

TFrmUpdate::TFrmUpdate(QWidget* parent)
    : CentredDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FrmUpdate"));
    setWindowTitle(QStringLiteral("更新"));
    setFixedSize(304, 185);
    setFont(QFont(QStringLiteral("宋体"), 9));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(8, 8, 81, 169);
    Image1->setScaledContents(true);
    Images::setPicture(Image1, QStringLiteral("update-side"), QSize(81, 169));

    GroupBox1 = new QGroupBox(QStringLiteral("在线升级"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(96, 6, 202, 172);

    Label1 = new QLabel(QStringLiteral("升级进度"), GroupBox1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(12, 32, 177, 16);

    ProgressBar1 = new QProgressBar(GroupBox1);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(12, 56, 177, 17);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);

    Button1 = new QPushButton(QStringLiteral("升级"), GroupBox1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(12, 128, 75, 25);
    Button1->setAutoDefault(false);
    Button2 = new QPushButton(QStringLiteral("关闭"), GroupBox1);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(114, 128, 75, 25);
    Button2->setAutoDefault(false);
    setTabOrder(Button1, Button2);
    for (QWidget* control : std::initializer_list<QWidget*>{ GroupBox1, Label1, Button1, Button2 })
        control->setAccessibleName(control == GroupBox1 ? GroupBox1->title() : control->property("text").toString());
    connect(Button1, &QPushButton::clicked, this, guarded(this, &TFrmUpdate::Button1Click));
    connect(Button2, &QPushButton::clicked, this, guarded(this, &TFrmUpdate::Button2Click));

    UpdateWindows::installOnce();
    AppUpdater1 = new TAppUpdater(this);
    AppUpdater1->setObjectName(QStringLiteral("AppUpdater1"));
    ConfigureProgramUpdater(*AppUpdater1);
    AppUpdater1->OnProgress = [this](const QString&, qint32, qint32, qint32, qint32, quint8 percentsDone, quint8,
                                     float) { AppUpdater1Progress(percentsDone); };
    AppUpdater1->OnAborted = [this] { AppUpdater1Aborted(); };
    AppUpdater1->OnNoUpdateAvailable = [this] { AppUpdater1NoUpdateAvailable(); };
    AppUpdater1->Loaded();
}

TFrmUpdate::~TFrmUpdate() = default;

void TFrmUpdate::Button1Click()
{
    AppUpdater1->StartUpdateCheck();
}

void TFrmUpdate::Button2Click()
{
    close();
}

void TFrmUpdate::AppUpdater1Progress(int PercentsDone)
{
    ProgressBar1->setValue(PercentsDone);
}

void TFrmUpdate::AppUpdater1Aborted()
{
    setWindowTitle(QStringLiteral("Upgrade aborted"));
    ProgressBar1->setValue(0);
}

void TFrmUpdate::AppUpdater1NoUpdateAvailable()
{
    setWindowTitle(QStringLiteral("No Update"));
}
