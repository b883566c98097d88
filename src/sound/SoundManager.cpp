// The sound facade.
#include "sound/SoundManager.h"

SoundManager SoundManager::instance;

SoundManager* SoundManager::getInstance()
{
    return &instance;
}

void SoundManager::update()
{
}

void SoundManager::clearNodeSounds()
{
}
