#include "Tfrmaddcontent.h"

#include "platform/Dialogs.h"
#include "platform/Guarded.h"
#include "platform/Services.h"
#include "widgets/GbkLineEdit.h"
#include "widgets/Images.h"

#include <QFrame>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

Tfrmaddcontent::Tfrmaddcontent(QListWidget& target, QWidget* parent)
    : CentredDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_target(target)
{
    setObjectName(QStringLiteral("frmaddcontent"));
    setWindowTitle(QStringLiteral("添加提醒内容"));
    setAccessibleName(windowTitle());
    setFixedSize(330, 125);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(8, 8, 314, 70);

    Edit1 = new GbkLineEdit(Bevel1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAccessibleName(QStringLiteral("提醒内容"));
    Edit1->setMaxBytes(50);
    Edit1->setGeometry(16, 23, 282, 24);
    Edit1->installEventFilter(this);

    BitBtn1 = new QPushButton(Images::standardIcon(QStyle::SP_DialogApplyButton), QStringLiteral("添加"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAccessibleName(QStringLiteral("添加"));
    BitBtn1->setGeometry(150, 88, 80, 27);
    BitBtn1->setDefault(true);
    BitBtn1->setAutoDefault(true);

    BitBtn2 = new QPushButton(Images::standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("取消"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAccessibleName(QStringLiteral("取消"));
    BitBtn2->setGeometry(240, 88, 80, 27);
    BitBtn2->setAutoDefault(false);

    connect(BitBtn1, &QPushButton::clicked, this, guarded(this, &Tfrmaddcontent::BitBtn1Click));
    connect(BitBtn2, &QPushButton::clicked, this, guarded(this, &Tfrmaddcontent::BitBtn2Click));
    // Esc closes through QDialog::reject, as the cancel button does.
}

void Tfrmaddcontent::FormShow()
{
    Edit1->clear();
    Edit1->setFocus();
}

bool Tfrmaddcontent::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in the text moves on to "添加" instead of adding at once, so a phrase is confirmed with a second Enter.
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            BitBtn1->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tfrmaddcontent::BitBtn1Click()
{
    const QString text = Edit1->text();
    if (text.isEmpty()) {
        Services::dialogs().messageBox(this, QStringLiteral("请 输 入 提 醒 内 容!"), QStringLiteral("提示"),
                                       MsgIcon::Warning, MsgButtons::Ok);
        Edit1->setFocus();
        return;
    }
    for (int i = 0; i < m_target.count(); ++i) {
        if (m_target.item(i)->text().compare(text, Qt::CaseInsensitive) == 0)
            return;
    }
    m_target.addItem(text);
}

void Tfrmaddcontent::BitBtn2Click()
{
    reject();
}
