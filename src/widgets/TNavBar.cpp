#include "TNavBar.h"

#include <QLabel>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

TNavBar::TNavBar(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("NavBar1"));
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(1);
    m_layout->addStretch(0);
}

int TNavBar::addHeader(const QString& caption)
{
    Group group;
    group.header = new QToolButton(this);
    group.header->setText(caption);
    group.header->setAccessibleName(caption);
    group.header->setObjectName(QStringLiteral("NavBarHeader%1").arg(m_groups.size() + 1));
    group.header->setProperty("navHeader", true);
    group.header->setCheckable(true);
    group.header->setToolButtonStyle(Qt::ToolButtonTextOnly);
    group.header->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    group.header->setMinimumHeight(24);

    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* content = new QWidget(scroll);
    content->setObjectName(QStringLiteral("NavBarGroup%1").arg(m_groups.size() + 1));
    group.layout = new QVBoxLayout(content);
    group.layout->setContentsMargins(2, 4, 2, 4);
    group.layout->setSpacing(2);
    group.layout->addStretch(1);
    scroll->setWidget(content);
    group.body = scroll;

    const int index = int(m_groups.size());
    m_layout->insertWidget(m_layout->count() - 1, group.header);
    m_layout->insertWidget(m_layout->count() - 1, group.body, 1);
    m_groups.append(group);
    connect(group.header, &QToolButton::clicked, this, [this, index] { expand(index); });
    expand(m_expanded < 0 ? index : m_expanded);
    return index;
}

QToolButton* TNavBar::addButton(int header, const QString& caption, const QIcon& icon)
{
    Group& group = m_groups[header];
    auto* button = new QToolButton(group.body->findChild<QWidget*>());
    button->setText(caption);
    button->setAccessibleName(caption);
    button->setToolTip(caption);
    button->setIcon(icon);
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    group.layout->insertWidget(group.layout->count() - 1, button);
    return button;
}

void TNavBar::addLabel(int header, const QString& caption)
{
    Group& group = m_groups[header];
    auto* label = new QLabel(caption, group.body->findChild<QWidget*>());
    label->setAlignment(Qt::AlignCenter);
    label->setAccessibleName(caption);
    group.layout->insertWidget(group.layout->count() - 1, label);
}

QToolButton* TNavBar::header(int index) const
{
    return (index >= 0 && index < m_groups.size()) ? m_groups.at(index).header : nullptr;
}

void TNavBar::expand(int header)
{
    m_expanded = header;
    // The open group takes the room; the stretch at the end only matters when every group is closed.
    for (int i = 0; i < m_groups.size(); ++i) {
        m_groups[i].header->setChecked(i == header);
        m_groups[i].body->setVisible(i == header);
    }
}
