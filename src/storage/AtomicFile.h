#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QFileInfo;

/// Replaces a file all at once: the new content goes to a temporary file beside the target, reaches the disk, and is
/// renamed over the target, so a reader or a crash finds the old file or the new one, never part of either.
///
/// The temporary file is named "<target's name>.vantrel-tmp.<six letters or digits>". No other program makes such
/// names, so the ones a crash leaves behind can be removed without asking: at the next write of the same target
/// (open() does it) and at the next start (Leftovers::removeAtStart()).
class AtomicFile
{
public:
    enum class Failure { None, Create, Write, Replace };

    explicit AtomicFile(QString target);
    /// Removes the temporary file unless it was committed.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    /// Removes what earlier writes of the same target left, then creates an empty temporary file.
    bool open();
    /// The temporary file, for writers that open it themselves (it exists and is empty after open()).
    const QString& temporaryPath() const { return m_temporary; }
    bool write(const QByteArray& bytes);
    /// Puts the temporary file's content on disk and renames it over the target, durably. Without syncFolder the
    /// rename itself reaches the disk when the system gets to it: a crash before then leaves the old file, whole.
    bool commit(bool syncFolder = true);

    Failure failure() const { return m_failure; }
    /// The system's text for the last failure.
    const QString& errorString() const { return m_error; }

    /// Whether a file name is one of these temporary names, or a side file the table engine made beside one.
    static bool isTemporaryName(const QString& fileName);
    /// Removes the temporary files of earlier writes of target that never finished.
    static void removeLeftovers(const QString& target);
    /// Removes the files of a folder that `matches` picks; a link is never followed nor removed.
    static void removeMatching(const QString& folder, const std::function<bool(const QFileInfo&)>& matches);

private:
    bool fail(Failure failure, int error);

    QString m_target;
    QString m_temporary;
    int m_fd = -1;
    bool m_committed = false;
    Failure m_failure = Failure::None;
    QString m_error;
};
