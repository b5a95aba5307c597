#pragma once

#include <QString>

/// The program folder and the paths the program joins onto it.
namespace AppPaths {

/// The folder of the running executable, with a trailing "/". Tests point it at a temporary program folder.
QString appDir();
void setAppDir(const QString& dir);

/// The full path of the running executable (the autostart entry and the updater need it).
QString executablePath();

QString reminderTablePath(); ///< appDir() + "data/time.db"
QString soundDir(); ///< appDir() + "sound/"
QString settingsFilePath(); ///< appDir() + "helper.ini"

} // namespace AppPaths
