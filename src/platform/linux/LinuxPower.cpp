#include "LinuxPower.h"

#include "platform/AppError.h"

void LinuxPower::powerOff() { throw AppError(QStringLiteral("关机功能尚未接通。")); }
