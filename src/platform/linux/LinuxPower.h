#pragma once

#include "platform/Power.h"

/// Power-off through logind (not interactive), falling back to `systemctl poweroff` where logind cannot be reached.
/// When VANTREL_POWEROFF_COMMAND is set, that command runs through /bin/sh instead and nothing is switched off:
/// a safe trial mode for users, and how end-to-end tests watch the scheduler.
class LinuxPower : public Power
{
public:
    void powerOff() override;
};
