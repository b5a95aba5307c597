#pragma once

#include "platform/AppError.h"
#include "platform/Power.h"

#include <functional>

/// Counts power-off requests instead of switching anything off. With `failure` set, a request is refused with that
/// text, as a system without the right to power off would refuse it. `onPowerOff` lets a test look at the state
/// of the moment the request was made.
class FakePower : public Power
{
public:
    void powerOff() override
    {
        ++requests;
        if (onPowerOff)
            onPowerOff();
        if (!failure.isEmpty())
            throw AppError(failure);
    }

    int requests = 0;
    QString failure;
    std::function<void()> onPowerOff;
};
