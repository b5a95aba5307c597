#pragma once

#include <QString>

/// Opens a web address in the user's browser. An address without "://" gets "http://" in front.
/// The shell's result is not looked at: a missing browser shows nothing of the program's own.
void OpenWebPage(const QString& address);
