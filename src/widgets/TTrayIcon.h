#pragma once

#include <QObject>

class QMenu;

/// The notification-area icon of the program.
class TTrayIcon : public QObject
{
    Q_OBJECT
public:
    explicit TTrayIcon(QObject* parent = nullptr);

    void setPopupMenu(QMenu* menu) { m_menu = menu; }
    QMenu* PopupMenu() const { return m_menu; }

private:
    QMenu* m_menu = nullptr;
};
