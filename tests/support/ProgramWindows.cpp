#include "ProgramWindows.h"

#include "platform/Services.h"

ProgramWindows::ProgramWindows()
{
    Services::setSoundPlayers(&players);
    Services::setPower(&power);
    Services::setAutostart(&autostart);
    Services::setProcessStarter(&processes);
    m_windows = std::make_unique<StartUp>();
}

ProgramWindows::~ProgramWindows()
{
    m_windows.reset();
    Services::setProcessStarter(nullptr);
    Services::setAutostart(nullptr);
    Services::setPower(nullptr);
    Services::setSoundPlayers(nullptr);
}
