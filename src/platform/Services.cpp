#include "Services.h"

#include "PlatformLayer.h"
#include "SystemClock.h"

#include <QtGlobal>

namespace {

struct Registry
{
    Clock* clock = nullptr;
    Dialogs* dialogs = nullptr;
    Shell* shell = nullptr;
    Desktop* desktop = nullptr;
    SoundPlayerFactory* soundPlayers = nullptr;
    Power* power = nullptr;
    Autostart* autostart = nullptr;
    ProcessStarter* processStarter = nullptr;
    std::function<void(const QString&)> errorSink;
};

Registry& registry()
{
    static Registry r;
    return r;
}

template <typename T> T& require(T* service, const char* name)
{
    if (!service)
        qFatal("Vantrel: platform service %s was used before it was installed", name);
    return *service;
}

} // namespace

namespace Services {

Clock& clock()
{
    static SystemClock systemClock;
    return registry().clock ? *registry().clock : systemClock;
}
Dialogs& dialogs()
{
    return require(registry().dialogs, "Dialogs");
}
Shell& shell()
{
    return require(registry().shell, "Shell");
}
Desktop& desktop()
{
    return require(registry().desktop, "Desktop");
}
SoundPlayerFactory& soundPlayers()
{
    return require(registry().soundPlayers, "SoundPlayer");
}
Power& power()
{
    return require(registry().power, "Power");
}
Autostart& autostart()
{
    return require(registry().autostart, "Autostart");
}
ProcessStarter& processStarter()
{
    return require(registry().processStarter, "ProcessStarter");
}

void setClock(Clock* c)
{
    registry().clock = c;
}
void setDialogs(Dialogs* d)
{
    registry().dialogs = d;
}
void setShell(Shell* s)
{
    registry().shell = s;
}
void setDesktop(Desktop* d)
{
    registry().desktop = d;
}
void setSoundPlayers(SoundPlayerFactory* f)
{
    registry().soundPlayers = f;
}
void setPower(Power* p)
{
    registry().power = p;
}
void setAutostart(Autostart* a)
{
    registry().autostart = a;
}
void setProcessStarter(ProcessStarter* p)
{
    registry().processStarter = p;
}

void install(const PlatformLayer& layer)
{
    setClock(layer.clock.get());
    setDialogs(layer.dialogs.get());
    setShell(layer.shell.get());
    setDesktop(layer.desktop.get());
    setSoundPlayers(layer.soundPlayers.get());
    setPower(layer.power.get());
    setAutostart(layer.autostart.get());
    setProcessStarter(layer.processStarter.get());
}

void uninstall()
{
    install(PlatformLayer());
}

void reportError(const QString& text)
{
    if (registry().errorSink)
        registry().errorSink(text);
    else
        qWarning("%s", qUtf8Printable(text));
}

void setErrorSink(std::function<void(const QString&)> sink)
{
    registry().errorSink = std::move(sink);
}

} // namespace Services
