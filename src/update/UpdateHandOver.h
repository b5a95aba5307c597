#pragma once

#include <QString>
#include <QStringList>

/// The update's file naming and the hand-over to the replacement helper.
namespace UpdateHandOver {

/// The replacement helper's file: the temporary folder (the program's folder when that does not exist) +
/// "UpdateHelper". Computed once per process.
QString HelperPath();

/// What follows the last "/", "\" or ":" of an address.
QString LastUrlSegment(const QString& url);
/// Where a download waits for the helper: AppDir + the address's last segment + ".uTMP".
QString TempFileName(const QString& url);

/// The all-files percentage while file `index` of `count` is at `percentsDone`:
/// round(index * 100 / count), halves to the even one, + percentsDone div count.
quint8 TotalPercentsDone(int index, int count, quint8 percentsDone);

/// The program's full path as the helper gets it: the running executable, unless a test named another program.
QString ProgramPath();
void setProgramPathForTesting(const QString& path);

/// The helper's arguments: the program's path and "+" + the restart parameters + the method digit. They are
/// separate process arguments, so blanks and "+" in the path need no quoting.
QStringList HelperArguments(const QString& programPath, const QString& restartParams, int method);

/// Writes the helper's image from the resources to `path`, byte for byte, executable by the user. An existing file
/// is replaced only when the new one is complete. False when it can't be written.
bool WriteHelper(const QString& path);

} // namespace UpdateHandOver
