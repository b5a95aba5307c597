#pragma once

/// Forced power-off of the computer.
class Power
{
public:
    virtual ~Power() = default;
    /// Asks the system to switch off now. Throws AppError when the request is refused or cannot be sent.
    virtual void powerOff() = 0;
};
