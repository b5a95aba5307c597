#include "platform/AppError.h"
#include "platform/Services.h"
#include "platform/linux/LinuxSoundPlayer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <cstdio>

// Usage: SoundProbe FILE [SECONDS]
// Prints the process's PSS, private memory, anonymous memory and thread count before the first sound and SECONDS
// (default 3) after it started, as the program's first hourly chime or reminder sound would cost them.
namespace {

struct Figures
{
    double pssMb = 0;
    double privateMb = 0; ///< what no other process shares: not moved by other processes coming and going
    double anonMb = 0;
    int threads = 0;
};

qint64 fieldKb(const QByteArray& text, const QByteArray& name)
{
    const qsizetype at = text.indexOf('\n' + name + ':');
    if (at < 0)
        return 0;
    return text.mid(at + name.size() + 2).trimmed().split(' ').value(0).toLongLong();
}

Figures measure()
{
    Figures f;
    QFile rollup(QStringLiteral("/proc/self/smaps_rollup"));
    if (rollup.open(QIODevice::ReadOnly)) {
        const QByteArray text = '\n' + rollup.readAll();
        f.pssMb = fieldKb(text, "Pss") / 1024.0;
        f.privateMb = (fieldKb(text, "Private_Clean") + fieldKb(text, "Private_Dirty")) / 1024.0;
        f.anonMb = fieldKb(text, "Anonymous") / 1024.0;
    }
    f.threads = int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
    return f;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: SoundProbe FILE [SECONDS]\n");
        return 2;
    }
    const QString file = QString::fromLocal8Bit(argv[1]);
    const int seconds = argc > 2 ? QByteArray(argv[2]).toInt() : 3;
    int errors = 0;
    Services::setErrorSink([&errors](const QString& text) {
        ++errors;
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
    });

    // The program makes its players at start-up; what it pays at the first sound is what comes after. Settle
    // first, so that what the application starts lazily is not counted against the sound.
    LinuxSoundPlayer player;
    QTimer::singleShot(1000, &app, &QCoreApplication::quit);
    app.exec();

    const Figures before = measure();
    player.setFileName(file);
    try {
        player.open();
        player.play();
    } catch (const AppError& error) {
        std::fprintf(stderr, "error: %s\n", qPrintable(error.text()));
        return 1;
    }
    QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
    app.exec();
    const Figures after = measure();
    std::printf("file %s\nbefore  pss %.1f MB  private %.1f MB  anon %.1f MB  threads %d\n"
                "after   pss %.1f MB  private %.1f MB  anon %.1f MB  threads %d\n"
                "added   pss %+.1f MB  private %+.1f MB  anon %+.1f MB  threads %+d  errors %d\n",
                qPrintable(QDir::toNativeSeparators(file)), before.pssMb, before.privateMb, before.anonMb,
                before.threads, after.pssMb, after.privateMb, after.anonMb, after.threads, after.pssMb - before.pssMb,
                after.privateMb - before.privateMb, after.anonMb - before.anonMb, after.threads - before.threads,
                errors);
    return 0;
}
