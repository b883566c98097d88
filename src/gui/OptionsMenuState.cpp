// The options menu.
#include "gui/OptionsMenuState.h"

#include <OGRE/OgreFrameListener.h>

OptionsMenuState OptionsMenuState::instance;

OptionsMenuState* OptionsMenuState::getInstance()
{
    return &instance;
}

bool OptionsMenuState::frameStarted(GameManager*, const Ogre::FrameEvent& event)
{
    injectTimePulse(event.timeSinceLastFrame);
    return true;
}

bool OptionsMenuState::frameEnded(GameManager*, const Ogre::FrameEvent&)
{
    return true;
}
