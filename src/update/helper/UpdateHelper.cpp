// The replacement helper. The update component downloads new files beside the program as "<name>.uTMP", writes
// this program into the temporary folder, starts it and ends itself. The helper waits until the program has really
// ended, installs every ".uTMP" file of the program's folder and starts the program again.
//
// It never removes a file before its replacement is in place: each file is installed with one rename, which either
// replaces the old file whole or leaves both the old file and the ".uTMP" file untouched.

#include "HelperCommandLine.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QThread>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const TempSuffix = ".uTMP";
constexpr int TempSuffixLength = 5;
constexpr unsigned long WaitStepMs = 200;

/// Set by tests: the information box is written to this file instead of being shown.
const char* const InfoBoxFileVariable = "VANTREL_UPDATEHELPER_INFOBOX_FILE";

int showInformation(int argc, char** argv)
{
    const QString caption = QStringLiteral("Update helper v3.4");
    const QString text = QStringLiteral("Self-updating helper of the application updater.\n"
                                        "Brellan, www.brellan.example");
    const QByteArray infoFile = qgetenv(InfoBoxFileVariable);
    if (!infoFile.isEmpty()) {
        QFile file(QString::fromLocal8Bit(infoFile));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write((caption + QLatin1Char('\n') + text).toUtf8());
        return 0;
    }
    QApplication app(argc, argv);
    QMessageBox::information(nullptr, caption, text);
    return 0;
}

/// Waits until the file can be opened for writing, which Linux refuses (ETXTBSY) while a process runs it. The file
/// is opened without truncation and closed at once, so it is never changed. Any other refusal (no permission, for
/// example) will not go away by waiting; the helper then goes on, and whatever it cannot replace stays as it is.
void waitUntilNotRunning(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    for (;;) {
        const int fd = ::open(native.constData(), O_WRONLY | O_CLOEXEC);
        if (fd >= 0) {
            ::close(fd);
            return;
        }
        if (errno != ETXTBSY && errno != EBUSY && errno != EINTR)
            return;
        QThread::msleep(WaitStepMs);
    }
}

/// The mode the new file gets: the replaced file's own mode, so an executable stays executable; a program to be
/// started gets the execute bits wherever it can be read.
mode_t installedMode(const QString& source, const QString& target, bool mustExecute)
{
    struct stat st;
    mode_t mode = 0;
    if (::stat(QFile::encodeName(target).constData(), &st) == 0 && S_ISREG(st.st_mode))
        mode = st.st_mode & 07777;
    else if (::stat(QFile::encodeName(source).constData(), &st) == 0)
        mode = st.st_mode & 07777;
    if (mustExecute)
        mode |= S_IXUSR | ((mode & S_IRGRP) ? S_IXGRP : 0) | ((mode & S_IROTH) ? S_IXOTH : 0);
    return mode;
}

/// Puts the downloaded file in the target's place with one rename. On failure both files stay as they were.
bool install(const QString& source, const QString& target, bool mustExecute)
{
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() && !targetInfo.isFile())
        return false; // a folder or device of that name: not ours to touch
    const QByteArray nativeSource = QFile::encodeName(source);
    ::chmod(nativeSource.constData(), installedMode(source, target, mustExecute));
    return ::rename(nativeSource.constData(), QFile::encodeName(target).constData()) == 0;
}

bool start(const QString& program, const QStringList& arguments, const QString& folder)
{
    return QProcess::startDetached(program, arguments, folder);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc <= 1)
        return showInformation(argc, argv);

    QCoreApplication app(argc, argv);
    const HelperCommand command = ParseHelperArguments(app.arguments().mid(1));
    if (command.programPath.isEmpty())
        return 0;

    const QFileInfo programInfo(command.programPath);
    const QString programPath = programInfo.absoluteFilePath();
    const QString folder = programInfo.absolutePath() + QLatin1Char('/');
    const QString programName = programInfo.fileName();
    if (programInfo.exists())
        waitUntilNotRunning(programPath);

    bool ownUpdate = QFileInfo::exists(programPath + QLatin1String(TempSuffix));
    QString pathToStart = programPath;
    QString setupPath;

    QDir dir(folder);
    dir.setNameFilters({ QStringLiteral("*") + QLatin1String(TempSuffix) });
    dir.setFilter(QDir::Files | QDir::Hidden | QDir::System | QDir::CaseSensitive);
    dir.setSorting(QDir::Name);
    for (const QString& found : dir.entryList()) {
        if (!found.endsWith(QLatin1String(TempSuffix)))
            continue;
        QString targetName = found.chopped(TempSuffixLength);
        if (targetName.isEmpty())
            continue; // its target would be the folder itself
        if (!ownUpdate && targetName.endsWith(QLatin1String("exe"))) {
            if (command.isSetup)
                setupPath = pathToStart = folder + targetName;
            else
                targetName = programName;
            ownUpdate = true;
        }
        const QString target = folder + targetName;
        install(folder + found, target, target == programPath || target == pathToStart);
    }

    if (!start(pathToStart, command.restartArguments, folder))
        return 0;

    if (!setupPath.isEmpty()) {
        waitUntilNotRunning(setupPath);
        QFile::remove(setupPath);
        start(programPath, command.restartArguments, folder);
    }
    return 0;
}
