#include "NotificationAreas.h"

#include "ProgramUnderTest.h"
#include "RealInput.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QRegularExpression>

namespace {

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");

/// trayer's own window, or an empty string.
QString panelWindow()
{
    const QString ids = RealInput::run(
        QStringLiteral("xdotool"), { QStringLiteral("search"), QStringLiteral("--class"), QStringLiteral("trayer") });
    for (const QString& id : ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (RealInput::run(QStringLiteral("xwininfo"), { QStringLiteral("-id"), id }).contains(u"\"panel\""))
            return id;
    }
    return QString();
}

/// A property of the watcher; invalid while the watcher does not answer.
QVariant watcherProperty(const QString& name)
{
    QDBusMessage get
        = QDBusMessage::createMethodCall(kWatcher, QStringLiteral("/StatusNotifierWatcher"),
                                         QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << kWatcher << name;
    const QDBusMessage reply = QDBusConnection::sessionBus().call(get, QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant();
}

} // namespace

NotificationAreas::NotificationAreas() = default;

NotificationAreas::~NotificationAreas()
{
    stop(m_host);
    stop(m_watcher);
    stop(m_trayer);
}

std::unique_ptr<QProcess> NotificationAreas::start(const QString& program, const QStringList& arguments)
{
    auto process = std::make_unique<QProcess>();
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start(program, arguments);
    if (!process->waitForStarted(10000))
        return nullptr;
    return process;
}

void NotificationAreas::stop(std::unique_ptr<QProcess>& process)
{
    if (!process)
        return;
    process->kill();
    process->waitForFinished(5000);
    process.reset();
}

bool NotificationAreas::startTrayer()
{
    m_trayer = start(QStringLiteral("trayer"),
                     { QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"),
                       QStringLiteral("right"), QStringLiteral("--widthtype"), QStringLiteral("pixel"),
                       QStringLiteral("--width"), QStringLiteral("120"), QStringLiteral("--height"),
                       QStringLiteral("24"), QStringLiteral("--transparent"), QStringLiteral("false") });
    return m_trayer && ProgramUnderTest::waitFor([] { return !panelWindow().isEmpty(); }, 10000);
}

void NotificationAreas::stopTrayer()
{
    stop(m_trayer);
}

QRect NotificationAreas::dockedIcon()
{
    const QString panel = panelWindow();
    if (panel.isEmpty())
        return QRect();
    const QString tree
        = RealInput::run(QStringLiteral("xwininfo"), { QStringLiteral("-tree"), QStringLiteral("-id"), panel });
    static const QRegularExpression line(QStringLiteral("(0x[0-9a-f]+) .*\\(\"vantrel\""));
    const QRegularExpressionMatch match = line.match(tree);
    return match.hasMatch() ? RealInput::windowRect(match.captured(1)) : QRect();
}

bool NotificationAreas::startWatcher()
{
    m_watcher = start(QStringLiteral("status-notifier-watcher"), {});
    // It answers a moment after it owns its name.
    return m_watcher
        && ProgramUnderTest::waitFor(
               [] { return watcherProperty(QStringLiteral("RegisteredStatusNotifierItems")).isValid(); }, 10000);
}

void NotificationAreas::stopWatcher()
{
    stop(m_watcher);
}

bool NotificationAreas::startHost()
{
    m_host = start(
        QStringLiteral("gtk-sni-tray-standalone"),
        { QStringLiteral("--bottom"), QStringLiteral("--beginning"), QStringLiteral("--size"), QStringLiteral("30") });
    // A program looks for a host as it starts; one that has not registered yet counts as none.
    return m_host
        && ProgramUnderTest::waitFor(
               [] { return watcherProperty(QStringLiteral("IsStatusNotifierHostRegistered")).toBool(); }, 20000);
}

void NotificationAreas::stopHost()
{
    stop(m_host);
}

QRect NotificationAreas::hostIcon(int timeoutMs) const
{
    // The host's icons have no name on the accessibility bus; its bar holds only the program's.
    return m_host ? RealInput::findControl(m_host->processId(), {}, QString(), QStringLiteral("icon"), timeoutMs)
                  : QRect();
}

QRect NotificationAreas::hostMenuItem(const QString& caption, int timeoutMs) const
{
    return m_host ? RealInput::findControl(m_host->processId(), {}, caption, QStringLiteral("menu item"), timeoutMs)
                  : QRect();
}

NotificationAreas::Item NotificationAreas::itemOf(qint64 pid)
{
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    if (!bus)
        return {};
    const QStringList items = watcherProperty(QStringLiteral("RegisteredStatusNotifierItems")).toStringList();
    for (const QString& entry : items) {
        // A watcher lists a bus name, with the item's path after it when that is not the usual one.
        const qsizetype slash = entry.indexOf(QLatin1Char('/'));
        Item item{ slash < 0 ? entry : entry.left(slash),
                   slash < 0 ? QStringLiteral("/StatusNotifierItem") : entry.mid(slash) };
        const QDBusReply<uint> owner = bus->servicePid(item.service);
        if (owner.isValid() && owner.value() == pid)
            return item;
    }
    return {};
}
