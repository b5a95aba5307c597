#include "UpdateAskForm.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

UpdateAskForm::UpdateAskForm(const QString& objectName, int clientWidth, int bottomHeight, Qt::WindowFlags flags,
                             QWidget* parent)
    : QDialog(parent, flags)
    , m_clientWidth(clientWidth)
    , m_bottomHeight(bottomHeight)
{
    setObjectName(objectName);
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(QFont(QStringLiteral("Sans Serif"), 9));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    BottomPanel = new QWidget(this);
    BottomPanel->setObjectName(QStringLiteral("BottomPanel"));
}

void UpdateAskForm::addButtons(QPushButton*& first, const char* firstName, QPushButton*& second, const char* secondName,
                               int y)
{
    first = new QPushButton(BottomPanel);
    first->setObjectName(QString::fromLatin1(firstName));
    first->setGeometry(m_clientWidth / 2 - 80, y, 75, 23);
    first->setDefault(true);
    second = new QPushButton(BottomPanel);
    second->setObjectName(QString::fromLatin1(secondName));
    second->setGeometry(m_clientWidth / 2 + 5, y, 75, 23);
}

bool UpdateAskForm::askModally()
{
    const int height = Label1->y() + Label1->height() + m_bottomHeight;
    setFixedSize(m_clientWidth, height);
    BottomPanel->setGeometry(0, height - m_bottomHeight, m_clientWidth, m_bottomHeight);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    return exec() == QDialog::Accepted;
}
