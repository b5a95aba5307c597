#include "TAppUpdaterPasswordForm.h"

#include "TAppUpdater.h"
#include "UpdateHandOver.h"
#include "UpdateMessages.h"
#include "platform/Guarded.h"
#include "text/TextLines.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace {
constexpr int ClientWidth = 297;
constexpr int BottomHeight = 98;
} // namespace

TAppUpdaterPasswordForm::TAppUpdaterPasswordForm(QWidget* parent)
    : UpdateAskForm(QStringLiteral("AppUpdaterPasswordForm"), ClientWidth, BottomHeight,
                    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint, parent)
{
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(10, 10, 32, 32);
    Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    Label1->setGeometry(46, 10, 246, 16);

    UsernameLab = new QLabel(BottomPanel);
    UsernameLab->setObjectName(QStringLiteral("UsernameLab"));
    UsernameLab->setGeometry(10, 8, 90, 21);
    UsernameEdit = new QLineEdit(BottomPanel);
    UsernameEdit->setObjectName(QStringLiteral("UsernameEdit"));
    UsernameEdit->setGeometry(104, 8, 183, 21);
    PasswordLab = new QLabel(BottomPanel);
    PasswordLab->setObjectName(QStringLiteral("PasswordLab"));
    PasswordLab->setGeometry(10, 36, 90, 21);
    PasswordEdit = new QLineEdit(BottomPanel);
    PasswordEdit->setObjectName(QStringLiteral("PasswordEdit"));
    PasswordEdit->setGeometry(104, 36, 183, 21);
    PasswordEdit->setEchoMode(QLineEdit::Password);
    addButtons(OKBtn, "OKBtn", CancelBtn, "CancelBtn", 66);
    connect(OKBtn, &QPushButton::clicked, this, guarded(this, &TAppUpdaterPasswordForm::OKBtnClick));
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    resize(ClientWidth, 160);
}

bool TAppUpdaterPasswordForm::Ask(TAppUpdater& updater)
{
    TAppUpdaterPasswordForm* form = &formToAsk<TAppUpdaterPasswordForm>();
    form->m_updater = &updater;

    form->Label1->setText(withLineFeeds(
        UpdateMessages::Format(LoadMessage(29), { UpdateHandOver::LastUrlSegment(updater.CurrentURL()) })));
    form->Label1->setFixedHeight(form->Label1->heightForWidth(form->Label1->width()));
    form->setWindowTitle(LoadMessage(11));
    form->UsernameLab->setText(LoadMessage(12));
    form->UsernameEdit->setText(updater.HTTPUsername());
    form->PasswordLab->setText(LoadMessage(13));
    form->PasswordEdit->clear();
    form->OKBtn->setText(LoadMessage(16));
    form->CancelBtn->setText(LoadMessage(17));
    for (QWidget* control : std::initializer_list<QWidget*>{ form->Label1, form->UsernameLab, form->PasswordLab,
                                                             form->OKBtn, form->CancelBtn })
        control->setAccessibleName(control->property("text").toString());

    return form->askModally();
}

void TAppUpdaterPasswordForm::OKBtnClick()
{
    if (m_updater) {
        m_updater->setHTTPUsername(UsernameEdit->text());
        m_updater->setHTTPPassword(PasswordEdit->text());
    }
    accept();
}
