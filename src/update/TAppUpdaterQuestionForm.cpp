#include "TAppUpdaterQuestionForm.h"

#include "UpdateMessages.h"
#include "text/TextLines.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace {
constexpr int ClientWidth = 318;
constexpr int BottomHeight = 45;
} // namespace

TAppUpdaterQuestionForm::TAppUpdaterQuestionForm(QWidget* parent)
    : UpdateAskForm(QStringLiteral("AppUpdaterQuestionForm"), ClientWidth, BottomHeight,
                    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint, parent)
{
    Icon = new QLabel(this);
    Icon->setObjectName(QStringLiteral("Icon"));
    Icon->setGeometry(12, 12, 32, 32);
    Icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    Label1->move(56, 12);
    addButtons(YesBtn, "YesBtn", LaterBtn, "LaterBtn", 11);
    connect(YesBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(LaterBtn, &QPushButton::clicked, this, &QDialog::reject);
    resize(ClientWidth, 120);
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
    TAppUpdaterQuestionForm* form = &formToAsk<TAppUpdaterQuestionForm>();
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

    return form->askModally();
}

void TAppUpdaterQuestionForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    raise(); // topmost: brought to the top each time it is shown
}
