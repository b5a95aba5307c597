// Stands in for the download sequence until TAppUpdaterDownload.cpp exists; delete this file when adding it.
#include "TAppUpdater.h"

void TAppUpdater::DownloadUpdates() { }
void TAppUpdater::FileHeadersReceived(qint32, const QDateTime&, bool&) { }
void TAppUpdater::FileProgress(qint32, qint32, int, int, quint8, float) { }
void TAppUpdater::FileDone() { }
void TAppUpdater::FileSkipped() { }
void TAppUpdater::FileStatusError(int) { }
