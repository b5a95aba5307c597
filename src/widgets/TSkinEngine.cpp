#include "TSkinEngine.h"

#include "platform/Services.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

TSkinEngine::TSkinEngine(QObject* parent)
    : QObject(parent)
{ }

TSkinEngine::~TSkinEngine()
{
    // The program's look belongs to the engine; without it the windows go back to the desktop's own look.
    if (m_active && qApp)
        qApp->setStyleSheet(QString());
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
    if (qApp)
        qApp->setStyleSheet(m_active ? styleSheet() : QString());
}
