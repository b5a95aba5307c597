#include "TSkinEngine.h"

#include "platform/Services.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QWidget>

TSkinEngine::TSkinEngine(QObject* parent)
    : QObject(parent)
{ }

TSkinEngine::~TSkinEngine()
{
    // The program's look belongs to the engine; without it the windows go back to the desktop's own look.
    m_active = false;
    apply();
}

QString TSkinEngine::builtInSkin()
{
    QFile file(QStringLiteral(":/skin/builtin.skn"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString TSkinEngine::styleSheet() const
{
    return m_skinFile.isEmpty() ? builtInSkin() : m_sheet;
}

void TSkinEngine::setSkinFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        // The skin is loaded while the main window is built at start-up too: say so, keep the current skin, go on.
        Services::reportError(
            QStringLiteral("无法读取皮肤文件“%1”：%2").arg(QDir::toNativeSeparators(path), file.errorString()));
        return;
    }
    m_sheet = QString::fromUtf8(file.readAll());
    m_skinFile = path;
    if (m_active)
        apply();
}

void TSkinEngine::setActive(bool active)
{
    if (m_active == active)
        return;
    m_active = active;
    apply();
}

void TSkinEngine::apply()
{
    if (!qApp)
        return;
    const QString sheet = sheetInUse();
    for (const QPointer<QWidget>& window : std::as_const(m_dressed)) {
        if (window)
            window->setStyleSheet(sheet);
    }
    qApp->removeEventFilter(this);
    if (!m_active) {
        m_dressed.clear();
        return;
    }
    qApp->installEventFilter(this);
    // Qt polishes a window once; those it has polished already are skinned now.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (!window->parentWidget() && window->testAttribute(Qt::WA_WState_Polished))
            dress(window);
    }
}

void TSkinEngine::dress(QWidget* window)
{
    // A window with a sheet of its own keeps it.
    if (m_dressed.contains(window) || !window->styleSheet().isEmpty())
        return;
    m_dressed.removeAll(nullptr);
    m_dressed.append(window);
    window->setStyleSheet(sheetInUse());
}

void TSkinEngine::dressOwnerOf(QWidget* window)
{
    QWidget* owner = window;
    for (QWidget* up = window->parentWidget(); up; up = up->parentWidget()) {
        if (m_dressed.contains(up))
            return;
        owner = up;
    }
    dress(owner);
}

void TSkinEngine::menuAboutToShow()
{
    // Sent after the menu is polished and before it works out its size, which the skin changes.
    if (auto* menu = qobject_cast<QMenu*>(sender()))
        dressOwnerOf(menu);
}

bool TSkinEngine::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::Polish && type != QEvent::Show) || !watched->isWidgetType())
        return false;
    auto* window = static_cast<QWidget*>(watched);
    if (!window->isWindow())
        return false;
    // Building the hidden windows polishes their menus and drop-down lists, and Qt makes and polishes passing menus
    // of its own to measure them: none of those is skinned before it shows. A window being shown is polished before
    // it is laid out (show() marks it first); a menu works out its size after telling that it is about to show.
    if (auto* menu = qobject_cast<QMenu*>(window)) {
        if (type == QEvent::Polish)
            connect(menu, &QMenu::aboutToShow, this, &TSkinEngine::menuAboutToShow, Qt::UniqueConnection);
        else
            dressOwnerOf(menu);
    } else if (!window->parentWidget()) {
        if (type == QEvent::Polish)
            dress(window);
    } else if (type == QEvent::Show || window->testAttribute(Qt::WA_WState_ExplicitShowHide)) {
        dressOwnerOf(window);
    }
    return false;
}
