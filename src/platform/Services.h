#pragma once

#include <QString>
#include <functional>

class Clock;
class Dialogs;
class Shell;
class Desktop;
class SingleInstance;
class SoundPlayerFactory;
class Power;
class Autostart;
class ProcessStarter;
struct PlatformLayer;

/// The platform seams the program talks to. The application object installs the layer makePlatformLayer() builds
/// (PlatformLayer.h; the Linux implementations live in linux/ alone); tests install the fakes of tests/fakes/.
/// Nothing here owns what it is given. Beside the seams this folder holds the timing rule of every once-a-second
/// tick (TickSeconds.h) and the error boundary every handler runs in (Guarded.h).
namespace Services {

Clock& clock(); ///< falls back to the system clock when none is installed
Dialogs& dialogs();
Shell& shell();
Desktop& desktop();
SoundPlayerFactory& soundPlayers();
Power& power();
Autostart& autostart();
ProcessStarter& processStarter();

void setClock(Clock* clock);
void setDialogs(Dialogs* dialogs);
void setShell(Shell* shell);
void setDesktop(Desktop* desktop);
void setSoundPlayers(SoundPlayerFactory* factory);
void setPower(Power* power);
void setAutostart(Autostart* autostart);
void setProcessStarter(ProcessStarter* starter);

/// Installs every seam of the layer (the single-instance guard is the application's own and is not installed).
void install(const PlatformLayer& layer);
/// Installs nothing in every seam again.
void uninstall();

/// Reports an error that must not end the running work (one failed reminder among several, a failed write that
/// the caller survives). The application object shows it in the error box; tests can capture it.
void reportError(const QString& text);
void setErrorSink(std::function<void(const QString&)> sink);

} // namespace Services
