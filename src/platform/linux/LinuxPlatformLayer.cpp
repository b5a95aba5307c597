#include "platform/PlatformLayer.h"

#include "LinuxDesktop.h"
#include "LinuxDialogs.h"
#include "LinuxPower.h"
#include "LinuxProcessStarter.h"
#include "LinuxShell.h"
#include "LinuxSingleInstance.h"
#include "LinuxSoundPlayer.h"
#include "XdgAutostart.h"
#include "platform/SystemClock.h"

PlatformLayer makePlatformLayer()
{
    PlatformLayer layer;
    layer.clock = std::make_unique<SystemClock>();
    layer.dialogs = std::make_unique<LinuxDialogs>();
    layer.shell = std::make_unique<LinuxShell>();
    layer.desktop = std::make_unique<LinuxDesktop>();
    layer.soundPlayers = std::make_unique<LinuxSoundPlayerFactory>();
    layer.power = std::make_unique<LinuxPower>();
    layer.autostart = std::make_unique<XdgAutostart>();
    layer.processStarter = std::make_unique<LinuxProcessStarter>();
    layer.singleInstance = std::make_unique<LinuxSingleInstance>();
    return layer;
}
