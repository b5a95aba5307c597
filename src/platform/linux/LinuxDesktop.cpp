#include "LinuxDesktop.h"

#include "XcbIconPainter.h"

#include <QApplication>
#include <QCursor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QWidget>

QRect LinuxDesktop::screenGeometry() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

QRect LinuxDesktop::availableGeometry() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QPoint LinuxDesktop::cursorPos() const
{
    return QCursor::pos();
}

namespace {
const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
// The bus answers at once; a watcher that hangs must not hold up the program for long.
constexpr int kWatcherTimeoutMs = 2000;

bool statusNotifierHostRegistered()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage get
        = QDBusMessage::createMethodCall(kWatcherService, QStringLiteral("/StatusNotifierWatcher"),
                                         QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << kWatcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = bus.call(get, QDBus::Block, kWatcherTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
        && qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant().toBool();
}
} // namespace

bool LinuxDesktop::statusNotifierTray() const
{
    // Qt asks the same question when the first tray icon is made, and keeps its answer for the life of the process.
    static const bool statusNotifier = statusNotifierHostRegistered();
    return statusNotifier;
}

QString LinuxDesktop::notificationArea() const
{
    if (!statusNotifierTray())
        return QSystemTrayIcon::isSystemTrayAvailable() ? QStringLiteral("xembed") : QString();
    // The icons live in the watcher, not in the host that draws them; a watcher started anew knows none of them.
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    if (!bus)
        return QString();
    const QDBusReply<QString> owner = bus->serviceOwner(kWatcherService);
    return owner.isValid() ? owner.value() : QString();
}

std::unique_ptr<IconPainter> LinuxDesktop::trayIconPainter() const
{
    // Qt docks an icon in an XEmbed notification area as a top-level widget of its own, named after its class.
    const QList<QWidget*> windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->objectName() != QLatin1String("QSystemTrayIconSys") || !window->internalWinId())
            continue;
        // A window that cannot be painted this way stays so; it is not asked again every second.
        if (window->internalWinId() == m_refusedTrayWindow)
            return nullptr;
        auto painter = XcbIconPainter::attach(window);
        if (!painter)
            m_refusedTrayWindow = window->internalWinId();
        return painter;
    }
    return nullptr;
}
