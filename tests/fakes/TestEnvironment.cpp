#include "TestEnvironment.h"

#include "platform/AppPaths.h"
#include "platform/Services.h"
#include "storage/TableFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TestEnvironment::TestEnvironment()
{
    QDir dir(m_dir.path());
    for (const char* sub : { "data", "sound", "skin", "bak" })
        dir.mkpath(QString::fromLatin1(sub));
    AppPaths::setAppDir(m_dir.path());
    Services::setClock(&clock);
    Services::setDialogs(&dialogs);
    Services::setShell(&shell);
    Services::setDesktop(&desktop);
    Services::setErrorSink([this](const QString& text) { errors << text; });
}

TestEnvironment::~TestEnvironment()
{
    TableFiles::releaseAll();
    Services::setErrorSink({});
    Services::setClock(nullptr);
    Services::setDialogs(nullptr);
    Services::setShell(nullptr);
    Services::setDesktop(nullptr);
    AppPaths::setAppDir(QString());
}

QString TestEnvironment::appDir() const
{
    return AppPaths::appDir();
}

void TestEnvironment::writeFile(const QString& relative, const QByteArray& content) const
{
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
}

QByteArray TestEnvironment::readFile(const QString& relative) const
{
    QFile file(path(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
