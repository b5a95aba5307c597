#pragma once

#include "FakeAutostart.h"
#include "FakePower.h"
#include "FakeProcessStarter.h"
#include "FakeSoundPlayer.h"
#include "StartUp.h"

#include <memory>

/// Every window of the program as start-up builds and wires them (StartUp, the composition root), for widget tests
/// that work across windows. Build it over a TestEnvironment, which installs the program folder and the Clock,
/// Dialogs, Shell and Desktop fakes and must outlive it; this adds fakes for the sound players, the power-off, the
/// autostart entry and process starts. The shared reminder player is the first player made.
class ProgramWindows
{
public:
    ProgramWindows();
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    /// The one window of class T.
    template <typename T> T& window() const { return m_windows->window<T>(); }
    /// The shared reminder player (the add window's MediaPlayer1).
    FakeSoundPlayer& reminderPlayer() const { return *players.created.first(); }

    FakeSoundPlayerFactory players;
    FakePower power;
    FakeAutostart autostart;
    FakeProcessStarter processes;

private:
    std::unique_ptr<StartUp> m_windows;
};
