#include "TAppUpdaterQuestionForm.h"

#include "UpdateMessages.h"
#include "text/TextLines.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace {
QPointer<TAppUpdaterQuestionForm> g_form;
constexpr int ClientWidth = 318;
constexpr int BottomHeight = 45;
} // namespace

TAppUpdaterQuestionForm::TAppUpdaterQuestionForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("AppUpdaterQuestionForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(QFont(QStringLiteral("Sans Serif"), 9));

    Icon = new QLabel(this);
    Icon->setObjectName(QStringLiteral("Icon"));
    Icon->setGeometry(12, 12, 32, 32);
    Icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->move(56, 12);

    BottomPanel = new QWidget(this);
    BottomPanel->setObjectName(QStringLiteral("BottomPanel"));
    YesBtn = new QPushButton(BottomPanel);
    YesBtn->setObjectName(QStringLiteral("YesBtn"));
    YesBtn->setGeometry(ClientWidth / 2 - 80, 11, 75, 23);
    YesBtn->setDefault(true);
    LaterBtn = new QPushButton(BottomPanel);
    LaterBtn->setObjectName(QStringLiteral("LaterBtn"));
    LaterBtn->setGeometry(ClientWidth / 2 + 5, 11, 75, 23);
    connect(YesBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(LaterBtn, &QPushButton::clicked, this, &QDialog::reject);
    resize(ClientWidth, 120);
}

TAppUpdaterQuestionForm* TAppUpdaterQuestionForm::instance()
{
    return g_form;
}

QString TAppUpdaterQuestionForm::UsableAppTitle()
{
    const QString title = QGuiApplication::applicationDisplayName();
    if (title.contains(UpdateMessages::LoadString(UpdateMessages::UnusableTitleId)))
        return UpdateMessages::LoadString(UpdateMessages::AppTitleId);
    return title;
}

bool TAppUpdaterQuestionForm::Ask(const QString& message)
{
    const QString title = UsableAppTitle();
    if (!g_form)
        g_form = new TAppUpdaterQuestionForm;
    TAppUpdaterQuestionForm* form = g_form;
    const QString shown = message.isEmpty() ? message : QLatin1Char('\n') + message + QLatin1Char('\n');

    form->Label1->setFixedWidth(form->frameGeometry().width() - form->Label1->x() - 11);
    form->Label1->setText(withLineFeeds(UpdateMessages::Format(LoadMessage(23), { title, shown })));
    form->Label1->setFixedHeight(form->Label1->heightForWidth(form->Label1->width()));
    form->setWindowTitle(LoadMessage(0));
    form->YesBtn->setText(LoadMessage(14));
    form->LaterBtn->setText(LoadMessage(19));
    form->Label1->setAccessibleName(form->Label1->text());
    form->YesBtn->setAccessibleName(form->YesBtn->text());
    form->LaterBtn->setAccessibleName(form->LaterBtn->text());

    const int height = form->Label1->y() + form->Label1->height() + BottomHeight;
    form->setFixedSize(ClientWidth, height);
    form->BottomPanel->setGeometry(0, height - BottomHeight, ClientWidth, BottomHeight);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        form->move(screen->geometry().center() - form->rect().center());
    return form->exec() == QDialog::Accepted;
}

void TAppUpdaterQuestionForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    raise(); // topmost: brought to the top each time it is shown
}
