#pragma once

/// The named guard that admits one running copy of the program.
class SingleInstance
{
public:
    virtual ~SingleInstance() = default;
    /// True when this process now holds the guard (also when it took over a dead holder's guard, or when the guard
    /// cannot be created at all); false when another live copy holds it.
    virtual bool tryAcquire() = 0;
};
