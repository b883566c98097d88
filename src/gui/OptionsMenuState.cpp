#include "gui/OptionsMenuState.h"

#include "GameManager.h"
#include "gui/MainMenuState.h"

#include <CEGUI/CEGUI.h>
#include <OGRE/OgreFrameListener.h>

OptionsMenuState OptionsMenuState::instance;

OptionsMenuState* OptionsMenuState::getInstance()
{
    return &instance;
}

void OptionsMenuState::enter()
{
    MenuState::enter();
    backRequested = false;
    CEGUI::Window* screen = showLayout("OptionsMenuState", "ComingSoon.layout");
    findWindow("OptionsMenuState", screen, "Title")->setText("Options");
    findWindow("OptionsMenuState", screen, "Back")->subscribeEvent(CEGUI::PushButton::EventClicked,
                                                      CEGUI::Event::Subscriber(&OptionsMenuState::handleBack, this));
}

void OptionsMenuState::keyPressed(GameManager* manager, const OIS::KeyEvent& event)
{
    MenuState::keyPressed(manager, event);
    if (event.key == OIS::KC_ESCAPE)
        backRequested = true;
}

bool OptionsMenuState::handleBack(const CEGUI::EventArgs&)
{
    backRequested = true;
    return true;
}

bool OptionsMenuState::frameStarted(GameManager* manager, const Ogre::FrameEvent& event)
{
    injectTimePulse(event.timeSinceLastFrame);
    if (backRequested)
        manager->changeState(MainMenuState::getInstance());
    return true;
}

bool OptionsMenuState::frameEnded(GameManager*, const Ogre::FrameEvent&)
{
    return true;
}
