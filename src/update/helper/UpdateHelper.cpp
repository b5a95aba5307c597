// The replacement helper. The update component downloads new files beside the program as "<name>.uTMP", writes
// this program and the list of the files it may install into a private folder made for this upgrade, starts it
// from there and ends itself. The helper waits until the program has really ended, installs exactly the listed
// files, each only when its ".uTMP" file still has the listed SHA-256, and starts the program again. Any other
// ".uTMP" file (a download cut off by an earlier crash, say) is left alone.
//
// It never removes a file before its replacement is in place: each file is installed with one rename, which either
// replaces the old file whole or leaves both the old file and the ".uTMP" file untouched.

#include "HelperCommandLine.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const TempSuffix = ".uTMP";
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

struct ListedFile
{
    QString name;
    QByteArray sha256;
};

/// The install list beside the helper: one line per file, "<sha256> <name>". Lines that are not of that form, and
/// names that are not plain file names, are dropped.
QList<ListedFile> readInstallList(const QString& path)
{
    QList<ListedFile> files;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return files;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const qsizetype blank = line.indexOf(' ');
        if (blank != 64)
            continue;
        const QString name = QString::fromUtf8(line.mid(blank + 1));
        if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")
            || name.contains(QLatin1Char('/')))
            continue;
        files.append({ name, line.left(blank).toLower() });
    }
    return files;
}

/// Whether `path` is a regular file (not a link) whose SHA-256 is `sha256`.
bool hasHash(const QString& path, const QByteArray& sha256)
{
    // Reading must not change the access time, which carries the file's time from the server.
    const QByteArray native = QFile::encodeName(path);
    int fd = ::open(native.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOATIME);
    if (fd < 0 && errno == EPERM)
        fd = ::open(native.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    QFile file;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !file.open(fd, QIODevice::ReadOnly, QFile::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    return hash.addData(&file) && hash.result().toHex() == sha256;
}

/// Removes the helper's own folder once its work is done, when it is one the program made for it.
void removeOwnFolder()
{
    const QString folder = QCoreApplication::applicationDirPath();
    if (!QFileInfo(folder).fileName().startsWith(QLatin1String("vantrel-update-")))
        return;
    QFile::remove(folder + QStringLiteral("/install.list"));
    QFile::remove(QCoreApplication::applicationFilePath());
    QDir().rmdir(folder);
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

    const QList<ListedFile> listed
        = readInstallList(QCoreApplication::applicationDirPath() + QStringLiteral("/install.list"));
    const bool ownUpdate
        = std::any_of(listed.begin(), listed.end(), [&](const ListedFile& f) { return f.name == programName; });
    QString pathToStart = programPath;
    QString setupPath;
    // An external setup is the first listed file, unless the program itself has an update. On Linux only a file
    // named as the program replaces the program: another executable never takes its place.
    if (command.isSetup && !ownUpdate && !listed.isEmpty())
        setupPath = pathToStart = folder + listed.first().name;

    bool setupInstalled = false;
    for (const ListedFile& file : listed) {
        const QString source = folder + file.name + QLatin1String(TempSuffix);
        if (!hasHash(source, file.sha256))
            continue; // not the file that was checked after its download
        const QString target = folder + file.name;
        if (install(source, target, target == programPath || target == pathToStart) && target == setupPath)
            setupInstalled = true;
    }
    if (!setupInstalled) {
        // No setup to run: the program is started as it is.
        setupPath.clear();
        pathToStart = programPath;
    }

    if (!start(pathToStart, command.restartArguments, folder)) {
        removeOwnFolder();
        return 0;
    }

    if (!setupPath.isEmpty()) {
        waitUntilNotRunning(setupPath);
        QFile::remove(setupPath);
        start(programPath, command.restartArguments, folder);
    }
    removeOwnFolder();
    return 0;
}
