#pragma once

#include "Autostart.h"
#include "Clock.h"
#include "Desktop.h"
#include "Dialogs.h"
#include "Power.h"
#include "ProcessStarter.h"
#include "Shell.h"
#include "SingleInstance.h"
#include "SoundPlayer.h"

#include <memory>

/// One object of every platform seam, as the system the program runs on provides them. The application object
/// builds it once and installs it into Services for the life of the process; tests install fakes instead.
struct PlatformLayer
{
    std::unique_ptr<Clock> clock;
    std::unique_ptr<Dialogs> dialogs;
    std::unique_ptr<Shell> shell;
    std::unique_ptr<Desktop> desktop;
    std::unique_ptr<SoundPlayerFactory> soundPlayers;
    std::unique_ptr<Power> power;
    std::unique_ptr<Autostart> autostart;
    std::unique_ptr<ProcessStarter> processStarter;
    std::unique_ptr<SingleInstance> singleInstance;
};

/// Builds the platform layer of the system the program is built for. The one implementation lives in linux/, the
/// only folder that names a system's own classes.
PlatformLayer makePlatformLayer();
