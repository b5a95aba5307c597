#pragma once

#include "platform/Autostart.h"

class XdgAutostart : public Autostart
{
public:
    void enable(const QString& executablePath) override;
    void disable() override;
};
