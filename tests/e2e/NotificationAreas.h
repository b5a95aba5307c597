#pragma once

#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>

/// The notification areas a Linux desktop may have, run as processes on the test's own desktop
/// (tests/tools/with-desktop.sh): trayer, an XEmbed tray, at the top right; and a StatusNotifierItem host, that is
/// status-notifier-watcher with gtk-sni-tray-standalone, at the bottom left. Whatever runs stops with the object.
class NotificationAreas
{
public:
    NotificationAreas();
    ~NotificationAreas();

    bool startTrayer();
    void stopTrayer();
    /// The screen rectangle of the program's icon docked in trayer; empty when there is none.
    static QRect dockedIcon();

    /// The StatusNotifierItem watcher, which keeps the list of icons, and the host that draws them.
    bool startWatcher();
    void stopWatcher();
    bool startHost();
    void stopHost();
    /// The screen rectangle of the first icon the host shows; waits up to timeoutMs, empty when none shows.
    QRect hostIcon(int timeoutMs = 20000) const;
    /// The rectangle of an item of the menu the host shows, found by its caption.
    QRect hostMenuItem(const QString& caption, int timeoutMs = 10000) const;

    /// The bus name and object path of the StatusNotifierItem that the process pid registered with the watcher;
    /// empty when it has none there.
    struct Item
    {
        QString service;
        QString path;
        bool isNull() const { return service.isEmpty(); }
    };
    static Item itemOf(qint64 pid);

private:
    std::unique_ptr<QProcess> start(const QString& program, const QStringList& arguments);
    static void stop(std::unique_ptr<QProcess>& process);

    std::unique_ptr<QProcess> m_trayer;
    std::unique_ptr<QProcess> m_watcher;
    std::unique_ptr<QProcess> m_host;
};
