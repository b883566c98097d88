// The play state.
#include "PlayState.h"

#include "GameManager.h"
#include "GameScene.h"

PlayState PlayState::instance;

PlayState* PlayState::getInstance()
{
    return &instance;
}

void PlayState::enter()
{
    GameManager::getInstance()->getGameScene()->enable();
}

void PlayState::exit()
{
    GameManager::getInstance()->resetGameScene();
}

bool PlayState::frameStarted(GameManager*, const Ogre::FrameEvent&)
{
    return true;
}

bool PlayState::frameEnded(GameManager*, const Ogre::FrameEvent&)
{
    return true;
}
