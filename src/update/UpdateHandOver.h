#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

/// The update's file naming and the hand-over to the replacement helper.
///
/// The helper never lives at a fixed shared path: each upgrade writes it into a new folder that only this user can
/// open, together with the list of the files it may install, and starts it from there.
namespace UpdateHandOver {

inline constexpr const char* HelperFolderPrefix = "vantrel-update-";
inline constexpr const char* HelperFileName = "UpdateHelper";
/// The list of files the helper installs, beside the helper in its folder.
inline constexpr const char* InstallListName = "install.list";

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

/// Where helper folders are made: $XDG_RUNTIME_DIR when it is a folder of this user, else the temporary folder.
QString HelperBaseFolder();
/// Makes a new folder for this upgrade's helper, readable by this user only, created exclusively (an existing
/// file, folder or link of the name is never used). Empty when it can't be made.
QString MakeHelperFolder();
/// The helper's file in a helper folder.
QString HelperPath(const QString& folder);
/// Removes the helper folders that earlier upgrades left: only real folders of this user, never through a link.
void RemoveLeftoverHelperFolders();
/// Deletes the ".uTMP" files in the program's folder: what a cut-off upgrade left must never be installed.
void DeleteStaleDownloads();

/// Writes the helper's image from the resources into `folder` as a new file, executable by the user only.
/// False when it can't be written whole.
bool WriteHelper(const QString& folder);

/// One file the helper may install: its name in the program's folder and the SHA-256 of its ".uTMP" file.
struct InstallEntry
{
    QString name;
    QByteArray sha256; ///< 64 lower-case hexadecimal digits
};
/// Writes the install list into `folder` as a new file: one line per file, "<sha256> <name>".
bool WriteInstallList(const QString& folder, const QList<InstallEntry>& entries);

/// The SHA-256 of a file in lower-case hexadecimal; empty when it can't be read.
QByteArray FileSha256(const QString& path);

} // namespace UpdateHandOver
