#include "TAppUpdaterWizardForm.h"

#include "TAppUpdater.h"
#include "TAppUpdaterQuestionForm.h"
#include "UpdateMessages.h"
#include "platform/Dialogs.h"
#include "platform/Guarded.h"
#include "platform/Services.h"
#include "text/TextLines.h"
#include "widgets/Images.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

namespace {

QPointer<TAppUpdaterWizardForm> g_form;

} // namespace

TAppUpdaterWizardForm::TAppUpdaterWizardForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("AppUpdaterWizardForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(QFont(QStringLiteral("Sans Serif"), 9));

    // Laid out at 120 dots per inch and scaled to the screen.
    const double scale = logicalDpiX() / 120.0;
    auto s = [scale](int v) { return int(v * scale + 0.5); };
    auto place = [&](QWidget* w, const char* name, int x, int y, int width, int height) {
        w->setObjectName(QString::fromLatin1(name));
        w->setGeometry(s(x), s(y), s(width), s(height));
    };
    setFixedSize(s(570), s(346));

    Panel1 = new QFrame(this);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    place(Panel1, "Panel1", 8, 8, 148, 271);
    Image1 = new QLabel(Panel1);
    place(Image1, "Image1", 15, 26, 118, 218);
    Image1->setScaledContents(true);
    Image1->setPixmap(Images::pixmap(QStringLiteral("update-wizard"), QSize(118, 218)));

    WizardTitle = new QLabel(this);
    place(WizardTitle, "WizardTitle", 168, 8, 393, 32);
    QFont titleFont(QStringLiteral("Serif"));
    titleFont.setPixelSize(s(23));
    titleFont.setBold(true);
    titleFont.setItalic(true);
    WizardTitle->setFont(titleFont);

    AfterNote = new QLabel(this);
    place(AfterNote, "AfterNote", 168, 44, 393, 20);
    AfterNote->setWordWrap(true);

    LCurrentFile = new QGroupBox(this);
    place(LCurrentFile, "LCurrentFile", 168, 68, 393, 154);
    LDownloadingFileFrom = new QLabel(LCurrentFile);
    place(LDownloadingFileFrom, "LDownloadingFileFrom", 8, 20, 378, 16);
    FileURL = new QLineEdit(LCurrentFile);
    place(FileURL, "FileURL", 8, 38, 378, 18);
    FileURL->setReadOnly(true); // the address can be selected and copied, not edited
    FileURL->setFrame(false);
    FileURL->setFocusPolicy(Qt::ClickFocus);
    FileURL->setStyleSheet(QStringLiteral("QLineEdit { background: palette(window); color: palette(highlight); }"));
    FileSizeLab = new QLabel(LCurrentFile);
    place(FileSizeLab, "FileSizeLab", 8, 62, 378, 16);
    TransferRateLab = new QLabel(LCurrentFile);
    place(TransferRateLab, "TransferRateLab", 8, 80, 378, 16);
    EstimatedTimeLeftLab = new QLabel(LCurrentFile);
    place(EstimatedTimeLeftLab, "EstimatedTimeLeftLab", 8, 98, 378, 16);
    ProgressCurrentFile = new QProgressBar(LCurrentFile);
    place(ProgressCurrentFile, "ProgressCurrentFile", 8, 124, 378, 18);
    ProgressCurrentFile->setRange(0, 100);
    ProgressCurrentFile->setValue(0);

    LAllFiles = new QGroupBox(this);
    place(LAllFiles, "LAllFiles", 168, 228, 393, 83);
    AllDownloading = new QLabel(LAllFiles);
    place(AllDownloading, "AllDownloading", 8, 22, 378, 16);
    ProgressAllFiles = new QProgressBar(LAllFiles);
    place(ProgressAllFiles, "ProgressAllFiles", 8, 48, 378, 18);
    ProgressAllFiles->setRange(0, 100);
    ProgressAllFiles->setValue(0);

    Bevel1 = new QFrame(this);
    Bevel1->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    place(Bevel1, "Bevel1", 8, 296, 554, 2);

    // The same text twice, one pixel apart, reads as engraved into the line.
    AboutShadow = new QLabel(this);
    place(AboutShadow, "AboutShadow", 13, 289, 120, 16);
    AboutShadow->setStyleSheet(QStringLiteral("color: palette(light);"));
    AboutLabel = new QLabel(this);
    place(AboutLabel, "AboutLabel", 12, 288, 120, 16);
    AboutLabel->setStyleSheet(QStringLiteral("color: palette(dark);"));

    FinishBtn = new QPushButton(this);
    place(FinishBtn, "FinishBtn", 370, 308, 93, 31);
    FinishBtn->setEnabled(false);
    FinishBtn->setAutoDefault(false);
    CancelBtn = new QPushButton(this);
    place(CancelBtn, "CancelBtn", 470, 308, 92, 31);
    CancelBtn->setDefault(true);
    connect(FinishBtn, &QPushButton::clicked, this, guarded(this, &TAppUpdaterWizardForm::FinishBtnClick));
    connect(CancelBtn, &QPushButton::clicked, this, guarded(this, &TAppUpdaterWizardForm::CancelBtnClick));
}

TAppUpdaterWizardForm* TAppUpdaterWizardForm::instance()
{
    return g_form && !g_form->m_closing ? g_form : nullptr;
}

TAppUpdaterWizardForm* TAppUpdaterWizardForm::ShowFor(TAppUpdater& updater)
{
    if (!instance())
        g_form = new TAppUpdaterWizardForm;
    TAppUpdaterWizardForm* form = g_form;
    form->m_updater = &updater;

    const QString about = QLatin1Char(' ') + UpdateMessages::LoadString(UpdateMessages::AboutId) + QLatin1Char(' ');
    form->AboutLabel->setText(about);
    form->AboutShadow->setText(about);
    form->setWindowFlag(Qt::WindowStaysOnTopHint, updater.Wizard().StayOnTop);
    if (!updater.Wizard().Pic118x218.isNull())
        form->Image1->setPixmap(QPixmap::fromImage(updater.Wizard().Pic118x218));
    form->EstimatedTimeLeftLab->setText(LoadMessage(22));
    form->setWindowTitle(LoadMessage(0));
    form->WizardTitle->setText(LoadMessage(1));
    form->LCurrentFile->setTitle(QLatin1Char(' ') + LoadMessage(3) + QLatin1Char(' '));
    form->LAllFiles->setTitle(QLatin1Char(' ') + LoadMessage(4) + QLatin1Char(' '));
    form->LDownloadingFileFrom->setText(LoadMessage(5));
    form->FinishBtn->setText(LoadMessage(18));
    form->CancelBtn->setText(LoadMessage(17));
    for (QWidget* control :
         std::initializer_list<QWidget*>{ form->WizardTitle, form->LDownloadingFileFrom, form->EstimatedTimeLeftLab,
                                          form->FinishBtn, form->CancelBtn })
        control->setAccessibleName(control->property("text").toString());

    if (QScreen* screen = QGuiApplication::primaryScreen())
        form->move(screen->geometry().center() - form->rect().center());
    form->show();
    form->raise();
    return form;
}

void TAppUpdaterWizardForm::SetFile(const QString& url, const QString& countLine)
{
    FileURL->setText(url);
    FileURL->setCursorPosition(0);
    AllDownloading->setText(countLine);
}

void TAppUpdaterWizardForm::SetSize(const QString& sizeLine)
{
    FileSizeLab->setText(sizeLine);
}

void TAppUpdaterWizardForm::SetProgress(int currentPercent, int allPercent, const QString& rateLine,
                                        const QString& timeLine)
{
    ProgressCurrentFile->setValue(currentPercent);
    ProgressAllFiles->setValue(allPercent);
    TransferRateLab->setText(rateLine);
    EstimatedTimeLeftLab->setText(timeLine);
}

void TAppUpdaterWizardForm::SetFinished()
{
    m_finished = true;
    WizardTitle->setText(LoadMessage(2));
    WizardTitle->setAccessibleName(WizardTitle->text());
    AfterNote->setText(
        withLineFeeds(UpdateMessages::Format(LoadMessage(10), { TAppUpdaterQuestionForm::UsableAppTitle() })));
    AfterNote->setFixedHeight(AfterNote->heightForWidth(AfterNote->width()));
    LCurrentFile->hide();
    LAllFiles->hide();
    CancelBtn->setEnabled(false);
    FinishBtn->setText(LoadMessage(16));
    FinishBtn->setAccessibleName(FinishBtn->text());
    FinishBtn->setEnabled(true);
    FinishBtn->setDefault(true);
    FinishBtn->setFocus();
}

void TAppUpdaterWizardForm::FinishBtnClick()
{
    m_closeAllowed = true;
    close();
}

void TAppUpdaterWizardForm::CancelBtnClick()
{
    close();
}

void TAppUpdaterWizardForm::reject()
{
    close(); // Escape takes the same road as the title bar's close button
}

void TAppUpdaterWizardForm::closeEvent(QCloseEvent* event)
{
    if (!m_closeAllowed) {
        const MsgAnswer answer = Services::dialogs().messageBox(this, withLineFeeds(LoadMessage(27)),
                                                                QGuiApplication::applicationDisplayName(),
                                                                MsgIcon::Question, MsgButtons::YesNo);
        if (answer != MsgAnswer::Yes) {
            event->ignore();
            return;
        }
        m_closeAllowed = true;
        m_closing = true;
        event->accept();
        emit closed();
        if (m_updater)
            m_updater->AbortUpgrade();
        return;
    }
    m_closing = true;
    event->accept();
    emit closed();
}

void TAppUpdaterWizardForm::CloseWithoutQuestion()
{
    m_closeAllowed = true;
    close();
}
