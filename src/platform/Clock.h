#pragma once

#include <QDateTime>

/// Current local date and time. Tests install a fake that they advance by hand.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};
