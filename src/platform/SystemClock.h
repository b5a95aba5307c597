#pragma once

#include "Clock.h"

/// The computer's own local time. Qt reads it the same way on every system, so it needs no implementation of its
/// own per platform.
class SystemClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};
