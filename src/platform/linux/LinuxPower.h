#pragma once

#include "platform/Power.h"

class LinuxPower : public Power
{
public:
    void powerOff() override;
};
