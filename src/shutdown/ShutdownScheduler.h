#pragma once

/// The plan of the scheduled power-off.
class ShutdownScheduler
{
};
