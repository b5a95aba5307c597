#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTest>

/// Helpers shared by the update tests that run the real replacement helper against the stand-in program.
namespace UpdateTestSupport {

inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

/// The stand-in program's bytes, with a marker appended so that an installed copy can be told from the old one.
inline QByteArray standInImage(const QByteArray& marker)
{
    return readAll(QStringLiteral(UPDATE_STANDIN_PATH)) + marker;
}

/// Puts a copy of the stand-in program at `path`, executable.
inline bool installStandIn(const QString& path, const QByteArray& marker = QByteArray("old"))
{
    if (!writeAll(path, standInImage(marker)))
        return false;
    return QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

/// The lines the stand-in wrote to "started.txt" in `folder`, once at least `count` lines are there (or after the
/// time-out, whatever is there then).
inline QStringList waitForStarts(const QString& folder, int count, int timeoutMs = 20000)
{
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const QStringList lines = QString::fromUtf8(readAll(folder + QStringLiteral("started.txt")))
                                      .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (lines.size() >= count || deadline.hasExpired())
            return lines;
        QTest::qWait(50);
    }
}

/// The names of the ".uTMP" files left in `folder`.
inline QStringList leftovers(const QString& folder)
{
    return QDir(folder).entryList({ QStringLiteral("*.uTMP") }, QDir::Files | QDir::Hidden);
}

} // namespace UpdateTestSupport
