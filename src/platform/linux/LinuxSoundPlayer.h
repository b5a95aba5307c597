#pragma once

#include "platform/SoundPlayer.h"

class LinuxSoundPlayerFactory : public SoundPlayerFactory
{
public:
    std::unique_ptr<SoundPlayer> create() override;
};
