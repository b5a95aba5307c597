#pragma once

#include <functional>

/// The named guard that admits one running copy of the program, and the channel through which a refused copy asks
/// the running one to come to the front. The channel reaches only copies run by the same user.
class SingleInstance
{
public:
    virtual ~SingleInstance() = default;
    /// True when this process now holds the guard (also when it took over a dead holder's guard, or when the guard
    /// cannot be created at all); false when another live copy holds it.
    virtual bool tryAcquire() = 0;
    /// In the copy that holds the guard: calls handler (on this thread) whenever a refused copy asks the running
    /// one to come to the front.
    virtual void listenForActivation(std::function<void()> handler) = 0;
    /// In a refused copy: asks the running copy to come to the front. Waits briefly; a running copy that cannot be
    /// reached is not an error.
    virtual void activateRunningCopy() = 0;
};
