#include "TSkinEngine.h"

#include <QFileInfo>

TSkinEngine::TSkinEngine(QObject* parent)
    : QObject(parent)
{
}

void TSkinEngine::setSkinFile(const QString& path)
{
    if (QFileInfo(path).isFile())
        m_skinFile = path;
}

void TSkinEngine::setActive(bool active) { m_active = active; }
