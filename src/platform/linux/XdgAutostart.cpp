#include "XdgAutostart.h"

#include "platform/AppError.h"

void XdgAutostart::enable(const QString&) { throw AppError(QStringLiteral("自动启动尚未接通。")); }
void XdgAutostart::disable() {}
