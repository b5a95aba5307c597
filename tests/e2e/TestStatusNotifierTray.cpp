#include "NotificationAreas.h"
#include "ProgramUnderTest.h"
#include "RealInput.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QtTest>

/// The real program on a StatusNotifierItem desktop, as KDE Plasma, GNOME with the AppIndicator extension and the
/// panels of wlroots compositors are: status-notifier-watcher and gtk-sni-tray-standalone on the test's own session
/// bus and X display. What a person does is done with real X input on the icon and the menu the host draws; the
/// rest is asked over D-Bus, as a host asks it.
class TestStatusNotifierTray : public QObject
{
    Q_OBJECT

private slots:
    void startsAsHideSays_data();
    void startsAsHideSays();
    void hostsMenuWorksByRealClicks_data();
    void hostsMenuWorksByRealClicks();
    void leftClickRestoresTheMainWindow();
    void hostsMenuWorksWhileADialogIsOpen();
    void menuAndActivationOverTheBus();
    void hintAndAnimationReachTheHost();
};

namespace {

/// The tray menu as a host reads it; "-" is a separator.
const QStringList kMenu{ QStringLiteral("打开Vantrel"),
                         QStringLiteral("今日计划"),
                         QStringLiteral("-"),
                         QStringLiteral("打开电子钟"),
                         QStringLiteral("关闭提醒音乐"),
                         QStringLiteral("Brellan主页"),
                         QStringLiteral("关于"),
                         QStringLiteral("-"),
                         QStringLiteral("退出"),
                         QStringLiteral("-") };

bool mainWindowShown()
{
    return !ProgramUnderTest::windows(QStringLiteral("^Vantrel$")).isEmpty();
}

int startHidden(ProgramUnderTest& program, int hide = 1)
{
    program.writeFile(QStringLiteral("helper.ini"), QStringLiteral("[system]\r\nhide=%1\r\n").arg(hide).toLatin1());
    return program.start();
}

/// Waits until the process pid has an icon registered with the watcher.
NotificationAreas::Item registeredItem(qint64 pid, int timeoutMs = 20000)
{
    NotificationAreas::Item item;
    ProgramUnderTest::waitFor([&] { return !(item = NotificationAreas::itemOf(pid)).isNull(); }, timeoutMs);
    return item;
}

QDBusMessage call(const QString& service, const QString& path, const QString& interface, const QString& method,
                  const QVariantList& arguments = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    return QDBusConnection::sessionBus().call(message, QDBus::Block, 5000);
}

QVariant itemProperty(const NotificationAreas::Item& item, const QString& name)
{
    const QDBusMessage reply = call(item.service, item.path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                    QStringLiteral("Get"), { QStringLiteral("org.kde.StatusNotifierItem"), name });
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant();
}

/// The top level of the item's menu: captions ("-" for a separator), and the menu's ids for them.
struct Menu
{
    QStringList captions;
    QList<int> ids;
};

Menu menuOf(const NotificationAreas::Item& item)
{
    const QString path = qvariant_cast<QDBusObjectPath>(itemProperty(item, QStringLiteral("Menu"))).path();
    const QDBusMessage reply = call(item.service, path, QStringLiteral("com.canonical.dbusmenu"),
                                    QStringLiteral("GetLayout"), { 0, -1, QStringList() });
    Menu menu;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 2)
        return menu;
    // (revision, (id, properties, [children as variants of the same structure]))
    const QDBusArgument root = qvariant_cast<QDBusArgument>(reply.arguments().at(1));
    int id = 0;
    QVariantMap properties;
    root.beginStructure();
    root >> id >> properties;
    root.beginArray();
    while (!root.atEnd()) {
        QDBusVariant child;
        root >> child;
        const QDBusArgument entry = qvariant_cast<QDBusArgument>(child.variant());
        entry.beginStructure();
        entry >> id >> properties;
        entry.endStructure();
        const bool separator = properties.value(QStringLiteral("type")).toString() == QLatin1String("separator");
        menu.captions << (separator ? QStringLiteral("-") : properties.value(QStringLiteral("label")).toString());
        menu.ids << id;
    }
    root.endArray();
    root.endStructure();
    return menu;
}

/// The pictures of an a(iiay) icon property, run together.
QByteArray pixmaps(const QVariant& property)
{
    const QDBusArgument argument = qvariant_cast<QDBusArgument>(property);
    QByteArray all;
    argument.beginArray();
    while (!argument.atEnd()) {
        int width = 0, height = 0;
        QByteArray bytes;
        argument.beginStructure();
        argument >> width >> height >> bytes;
        argument.endStructure();
        all += bytes;
    }
    argument.endArray();
    return all;
}

} // namespace

void TestStatusNotifierTray::startsAsHideSays_data()
{
    QTest::addColumn<bool>("host");
    QTest::addColumn<bool>("mainWindow");
    QTest::newRow("hidden start on a host: only the icon") << true << false;
    // A watcher with no host draws nothing: a hidden program could not be reached.
    QTest::newRow("hidden start, a watcher without a host") << false << true;
}

void TestStatusNotifierTray::startsAsHideSays()
{
    QFETCH(bool, host);
    QFETCH(bool, mainWindow);
    NotificationAreas areas;
    QVERIFY2(areas.startWatcher(), "status-notifier-watcher is needed (see README)");
    if (host)
        QVERIFY2(areas.startHost(), "gtk-sni-tray-standalone is needed (see README)");
    ProgramUnderTest program;
    const int copy = startHidden(program);
    if (host) {
        QVERIFY2(!registeredItem(program.pid(copy)).isNull(), "the icon registers with the watcher");
        QVERIFY2(areas.hostIcon().isValid(), "the host shows the icon");
    }
    if (mainWindow) {
        QVERIFY(ProgramUnderTest::waitFor(mainWindowShown, 20000));
    } else {
        QTest::qWait(1500); // time enough for a window that should not come
        QVERIFY(!mainWindowShown());
    }
    QCOMPARE(program.process(copy).state(), QProcess::Running);
}

void TestStatusNotifierTray::hostsMenuWorksByRealClicks_data()
{
    QTest::addColumn<bool>("restart");
    QTest::newRow("first host") << false;
    // A watcher started anew knows no icon: the program registers it again, and the new host draws it.
    QTest::newRow("watcher and host restarted") << true;
}

void TestStatusNotifierTray::hostsMenuWorksByRealClicks()
{
    QFETCH(bool, restart);
    NotificationAreas areas;
    QVERIFY(areas.startWatcher());
    QVERIFY(areas.startHost());
    ProgramUnderTest program;
    const int copy = startHidden(program);
    const qint64 pid = program.pid(copy);
    QVERIFY(!registeredItem(pid).isNull());
    QVERIFY(areas.hostIcon().isValid());
    if (restart) {
        areas.stopHost();
        areas.stopWatcher();
        QVERIFY(areas.startWatcher());
        QVERIFY(areas.startHost());
        QVERIFY2(!registeredItem(pid).isNull(), "the icon registers with the new watcher");
    }
    const QRect icon = areas.hostIcon();
    QVERIFY2(icon.isValid(), "the host shows the icon");
    QVERIFY(!mainWindowShown());

    // The host opens the menu on a right click and draws every item, in order.
    QVERIFY(RealInput::click(icon.center(), 3));
    int above = -1;
    for (const QString& caption : kMenu) {
        if (caption == QLatin1String("-"))
            continue;
        const QRect item = areas.hostMenuItem(caption);
        QVERIFY2(item.isValid(), qPrintable(caption));
        QVERIFY2(item.top() > above, qPrintable(caption + QStringLiteral(" is out of order")));
        above = item.top();
    }

    QVERIFY(RealInput::click(areas.hostMenuItem(QStringLiteral("打开Vantrel")).center()));
    QVERIFY2(ProgramUnderTest::waitFor(mainWindowShown, 10000), "\"打开Vantrel\" shows the main window");
    QCOMPARE(program.process(copy).state(), QProcess::Running);
}

void TestStatusNotifierTray::leftClickRestoresTheMainWindow()
{
    NotificationAreas areas;
    QVERIFY(areas.startWatcher());
    QVERIFY(areas.startHost());
    ProgramUnderTest program;
    const int copy = startHidden(program);
    QVERIFY(!registeredItem(program.pid(copy)).isNull());
    const QRect icon = areas.hostIcon();
    QVERIFY(icon.isValid());
    QVERIFY(!mainWindowShown());
    QVERIFY(RealInput::click(icon.center(), 1));
    QVERIFY2(ProgramUnderTest::waitFor(mainWindowShown, 10000), "a left click on the icon brings the main window");
}

void TestStatusNotifierTray::hostsMenuWorksWhileADialogIsOpen()
{
    NotificationAreas areas;
    QVERIFY(areas.startWatcher());
    QVERIFY(areas.startHost());
    ProgramUnderTest program;
    const int copy = startHidden(program, 0);
    const qint64 pid = program.pid(copy);
    QVERIFY(ProgramUnderTest::waitFor(mainWindowShown, 20000));
    QVERIFY(RealInput::clickControl(pid, QStringLiteral("Vantrel"), QStringLiteral("提醒列表")));
    QVERIFY(!ProgramUnderTest::waitForWindows(ProgramUnderTest::titled(QStringLiteral("提醒列表")), 10000).isEmpty());

    // "关于" opens on top of the list, and its button takes the click.
    QVERIFY(RealInput::click(areas.hostIcon().center(), 3));
    QVERIFY(RealInput::click(areas.hostMenuItem(QStringLiteral("关于")).center()));
    QVERIFY2(!ProgramUnderTest::waitForWindows(ProgramUnderTest::titled(QStringLiteral("关于")), 10000).isEmpty(),
             "about window");
    QVERIFY(RealInput::clickControl(pid, QStringLiteral("关于"), QStringLiteral("确定")));
    QVERIFY(ProgramUnderTest::waitFor(
        [] { return ProgramUnderTest::windows(ProgramUnderTest::titled(QStringLiteral("关于"))).isEmpty(); }, 5000));
    QVERIFY(!ProgramUnderTest::windows(ProgramUnderTest::titled(QStringLiteral("提醒列表"))).isEmpty());
}

void TestStatusNotifierTray::menuAndActivationOverTheBus()
{
    NotificationAreas areas;
    QVERIFY(areas.startWatcher());
    QVERIFY(areas.startHost());
    ProgramUnderTest program;
    const int copy = startHidden(program);
    const NotificationAreas::Item item = registeredItem(program.pid(copy));
    QVERIFY(!item.isNull());

    const Menu menu = menuOf(item);
    QCOMPARE(menu.captions, kMenu);

    // An item chosen at the host runs its action, and the host learns the caption it changed to.
    const int clock = menu.ids.at(kMenu.indexOf(QStringLiteral("打开电子钟")));
    const QDBusMessage clicked
        = call(item.service, qvariant_cast<QDBusObjectPath>(itemProperty(item, QStringLiteral("Menu"))).path(),
               QStringLiteral("com.canonical.dbusmenu"), QStringLiteral("Event"),
               { clock, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(QString())), 0u });
    QCOMPARE(clicked.type(), QDBusMessage::ReplyMessage);
    QVERIFY2(ProgramUnderTest::waitFor([&] { return menuOf(item).captions.value(3) == QStringLiteral("关闭电子钟"); },
                                       10000),
             "the clock item toggles");

    QVERIFY(!mainWindowShown());
    QCOMPARE(call(item.service, item.path, QStringLiteral("org.kde.StatusNotifierItem"), QStringLiteral("Activate"),
                  { 0, 0 })
                 .type(),
             QDBusMessage::ReplyMessage);
    QVERIFY2(ProgramUnderTest::waitFor(mainWindowShown, 10000), "Activate brings the main window");
}

void TestStatusNotifierTray::hintAndAnimationReachTheHost()
{
    NotificationAreas areas;
    QVERIFY(areas.startWatcher());
    QVERIFY(areas.startHost());
    ProgramUnderTest program;
    const int copy = startHidden(program);
    const NotificationAreas::Item item = registeredItem(program.pid(copy));
    QVERIFY(!item.isNull());

    // ToolTip: (icon name, icon pictures, title, text)
    const QDBusArgument tip = qvariant_cast<QDBusArgument>(itemProperty(item, QStringLiteral("ToolTip")));
    QString iconName, title, text;
    tip.beginStructure();
    tip >> iconName;
    tip.beginArray();
    while (!tip.atEnd()) {
        int width = 0, height = 0;
        QByteArray bytes;
        tip.beginStructure();
        tip >> width >> height >> bytes;
        tip.endStructure();
    }
    tip.endArray();
    tip >> title >> text;
    tip.endStructure();
    QCOMPARE(title, QStringLiteral("Vantrel"));

    // The icon changes every 400 ms; over a few looks the host is shown several pictures.
    QSet<QByteArray> pictures;
    for (int look = 0; look < 8; ++look) {
        pictures.insert(pixmaps(itemProperty(item, QStringLiteral("IconPixmap"))));
        QTest::qWait(250);
    }
    pictures.remove(QByteArray());
    QVERIFY2(pictures.size() >= 3, "the icon animates");
}

QTEST_GUILESS_MAIN(TestStatusNotifierTray)
#include "TestStatusNotifierTray.moc"
